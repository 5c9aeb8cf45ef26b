#pragma once

namespace GUI
{

// A listener of an event without argument: a call with the control that
// fired it. Lists compare listeners with Same, so one object and member
// function joins a list once.
template <class Param> class MemberFunctionBase1Param
{
public:
    virtual ~MemberFunctionBase1Param() = default;
    virtual void operator()(Param param) = 0;
    // Whether `other` calls the same member function on the same object.
    virtual bool Same(const MemberFunctionBase1Param& other) const = 0;
    virtual const void* GetObject() const = 0;
};

// Calls `function` on `object`; the member function pointer carries the
// object-pointer adjustment.
template <class Object, class Param> class MemberFunction1Param : public MemberFunctionBase1Param<Param>
{
public:
    using Function = void (Object::*)(Param);

    MemberFunction1Param(Object* object, Function function) : object_(object), function_(function) {}

    void operator()(Param param) override { (object_->*function_)(param); }
    bool Same(const MemberFunctionBase1Param<Param>& other) const override
    {
        const auto* same = dynamic_cast<const MemberFunction1Param*>(&other);
        return same != nullptr && same->object_ == object_ && same->function_ == function_;
    }
    const void* GetObject() const override { return object_; }

private:
    Object* object_;
    Function function_;
};

// A listener of an event with an argument: a call with the control and the
// argument.
template <class Param, class Argument> class MemberFunctionBase2Param
{
public:
    virtual ~MemberFunctionBase2Param() = default;
    virtual void operator()(Param param, Argument argument) = 0;
    virtual bool Same(const MemberFunctionBase2Param& other) const = 0;
    virtual const void* GetObject() const = 0;
};

template <class Object, class Param, class Argument>
class MemberFunction2Param : public MemberFunctionBase2Param<Param, Argument>
{
public:
    using Function = void (Object::*)(Param, Argument);

    MemberFunction2Param(Object* object, Function function) : object_(object), function_(function) {}

    void operator()(Param param, Argument argument) override { (object_->*function_)(param, argument); }
    bool Same(const MemberFunctionBase2Param<Param, Argument>& other) const override
    {
        const auto* same = dynamic_cast<const MemberFunction2Param*>(&other);
        return same != nullptr && same->object_ == object_ && same->function_ == function_;
    }
    const void* GetObject() const override { return object_; }

private:
    Object* object_;
    Function function_;
};

} // namespace GUI

#include "physics/Physics_Joint.h"
#include "physics/Physics_ReadChecks.h"

#include "core/Core_File.h"
#include "physics/Physics_Simulation.h"

#include <algorithm>

namespace Physics2D
{

Joint::Joint(std::uint32_t kindCode, std::uint32_t maximumRows, bool contact)
    : kindCode_(kindCode), maximumRows_(maximumRows), contactFlag_(contact ? 1 : 0)
{
}

Joint::Joint(const Joint& other)
    : Core::Object(other), kindCode_(other.kindCode_), maximumRows_(other.maximumRows_), rows_(other.rows_),
      active_(other.active_), correctionFactor_(other.correctionFactor_), contactFlag_(other.contactFlag_),
      body1_(other.body1_), body2_(other.body2_)
{
}

void Joint::SetCorrectionFactor(float factor)
{
    correctionFactor_ = std::clamp(factor, 0.0f, 1.0f);
}

std::uint32_t Joint::CountRows()
{
    rows_ = maximumRows_;
    return rows_;
}

bool Joint::NeitherIsStatic() const
{
    const RigidBody* ground = Simulation::staticBody;
    return body1_.Get() != ground && body2_.Get() != ground;
}

void Joint::Write(Core::File& file) const
{
    file << kindCode_ << maximumRows_ << rows_ << active_ << correctionFactor_ << PositionCorrectionPhase
         << contactFlag_;
    file.WriteObject(body1_.Get());
    file.WriteObject(body2_.Get());
}

bool Joint::ReadBase(Core::File& file, BaseRecord& record) const
{
    file >> record.kindCode >> record.maximumRows >> record.rows >> record.active;
    ReadFinite(file, record.correctionFactor);
    file >> record.positionCorrectionPhase >> record.contactFlag;
    if (file.Failed())
    {
        return false;
    }
    Core::ReadRefPtr(file, record.body1);
    Core::ReadRefPtr(file, record.body2);
    if (file.Failed())
    {
        return false;
    }
    // The row storage is sized by what joints count: a stored joint may ask
    // for fewer rows than its kind fills, never for more.
    if (record.maximumRows > GetRowCapacity() || record.rows > GetRowCapacity())
    {
        file.SetError(Core::FileError::BadData);
        return false;
    }
    return true;
}

void Joint::CommitBase(Core::File& file, const BaseRecord& record)
{
    kindCode_ = record.kindCode;
    maximumRows_ = record.maximumRows;
    rows_ = record.rows;
    active_ = record.active;
    correctionFactor_ = record.correctionFactor;
    // Class-wide: it changes only once the whole archive has read without
    // fault.
    file.AtEndOfRead(
        [&file, phase = record.positionCorrectionPhase]
        {
            if (!file.Failed())
            {
                PositionCorrectionPhase = phase;
            }
        });
    contactFlag_ = record.contactFlag;
    body1_ = record.body1;
    body2_ = record.body2;
}

void Joint::Read(Core::File& file)
{
    BaseRecord record;
    if (ReadBase(file, record))
    {
        CommitBase(file, record);
    }
}

} // namespace Physics2D

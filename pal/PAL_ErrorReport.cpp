#include "pal/PAL_ErrorReport.h"

#include <SDL.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace PAL
{

namespace
{

// One call is checked at a time, on the main thread.
struct CheckedCallContext
{
    std::string function;
    std::string enclosingFunction;
    std::string file;
    int line = 0;
};

CheckedCallContext& GetContext()
{
    static CheckedCallContext context;
    return context;
}

struct Button
{
    std::int32_t answer;
    const char* label;
};

struct ButtonSet
{
    std::int32_t code;
    int count;
    Button buttons[3];
    // The answer Escape or closing the box gives; -1 when the set has none.
    std::int32_t escape;
};

constexpr ButtonSet kButtonSets[] = {
    {ButtonsOkCancel, 2, {{AnswerOk, "OK"}, {AnswerCancel, "Cancel"}}, AnswerCancel},
    {ButtonsAbortRetryIgnore,
     3,
     {{AnswerAbort, "Abort"}, {AnswerRetry, "Retry"}, {AnswerIgnore, "Ignore"}},
     -1},
    {ButtonsYesNoCancel, 3, {{AnswerYes, "Yes"}, {AnswerNo, "No"}, {AnswerCancel, "Cancel"}}, AnswerCancel},
    {ButtonsYesNo, 2, {{AnswerYes, "Yes"}, {AnswerNo, "No"}}, -1},
    {ButtonsRetryCancel, 2, {{AnswerRetry, "Retry"}, {AnswerCancel, "Cancel"}}, AnswerCancel},
    {ButtonsCancelTryContinue,
     3,
     {{AnswerCancel, "Cancel"}, {AnswerTryAgain, "Try Again"}, {AnswerContinue, "Continue"}},
     AnswerCancel},
};

constexpr ButtonSet kOkOnly = {ButtonsOk, 1, {{AnswerOk, "OK"}}, AnswerOk};

const ButtonSet& FindButtonSet(std::int32_t code)
{
    for (const ButtonSet& set : kButtonSets)
    {
        if (set.code == code)
        {
            return set;
        }
    }
    return kOkOnly;
}

Uint32 KindFlags(std::int32_t kind)
{
    switch (kind)
    {
    case KindInformation:
    case KindQuestion: // SDL has no question icon
        return SDL_MESSAGEBOX_INFORMATION;
    case KindWarning:
        return SDL_MESSAGEBOX_WARNING;
    case KindError:
        return SDL_MESSAGEBOX_ERROR;
    default:
        return 0;
    }
}

// Shows the box through SDL; false when it could not be shown.
bool ShowSdlBox(const std::string& caption, const std::string& text, std::int32_t kind, const ButtonSet& set,
                std::int32_t& answer)
{
    SDL_MessageBoxButtonData buttons[3] = {};
    for (int i = 0; i < set.count; ++i)
    {
        buttons[i].buttonid = set.buttons[i].answer;
        buttons[i].text = set.buttons[i].label;
        if (i == 0)
        {
            buttons[i].flags |= SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT;
        }
        if (set.buttons[i].answer == set.escape)
        {
            buttons[i].flags |= SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT;
        }
    }
    SDL_MessageBoxData data{};
    data.flags = KindFlags(kind) | SDL_MESSAGEBOX_BUTTONS_LEFT_TO_RIGHT;
    data.title = caption.c_str();
    data.message = text.c_str();
    data.numbuttons = set.count;
    data.buttons = buttons;
    int chosen = -1;
    if (SDL_ShowMessageBox(&data, &chosen) != 0)
    {
        return false;
    }
    // -1: the box was closed without a button.
    answer = chosen >= 0 ? chosen : (set.escape >= 0 ? set.escape : set.buttons[0].answer);
    return true;
}

} // namespace

bool IsHeadless()
{
    const char* headless = std::getenv("ENGINE_HEADLESS");
    if (headless != nullptr && headless[0] != '\0' && std::strcmp(headless, "0") != 0)
    {
        return true;
    }
    const char* x11 = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    return (x11 == nullptr || x11[0] == '\0') && (wayland == nullptr || wayland[0] == '\0');
}

std::int32_t ShowMessageBox(const std::string& caption, const std::string& text, std::int32_t kind,
                            std::int32_t buttons)
{
    const ButtonSet& set = FindButtonSet(buttons);
    std::int32_t answer = set.buttons[0].answer;
    if (!IsHeadless() && ShowSdlBox(caption, text, kind, set, answer))
    {
        return answer;
    }
    std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
    std::fflush(stderr);
    return set.buttons[0].answer;
}

void BeginCheckedCall(const char* function, const char* enclosingFunction, int line, const char* file)
{
    CheckedCallContext& context = GetContext();
    context.function = function != nullptr ? function : "";
    context.enclosingFunction = enclosingFunction != nullptr ? enclosingFunction : "";
    context.file = file != nullptr ? file : "";
    context.line = line + 1;
    SDL_ClearError();
    errno = 0;
}

void EndCheckedCall(bool failed)
{
    int code = errno;
    if (!failed)
    {
        return;
    }
    const CheckedCallContext& context = GetContext();
    char systemText[512] = "Unknown error";
    // SDL's own reason comes first: the system calls under a failed SDL call
    // leave stray codes in errno (a socket that was not there) that say
    // nothing about why it failed. SDL has no codes of its own.
    if (const char* sdlText = SDL_GetError(); sdlText != nullptr && sdlText[0] != '\0')
    {
        std::snprintf(systemText, sizeof systemText, "%s", sdlText);
        code = 0;
    }
    else if (code != 0)
    {
        // The GNU form may return a static text instead of filling the buffer.
        const char* text = strerror_r(code, systemText, sizeof systemText);
        if (text != systemText)
        {
            std::snprintf(systemText, sizeof systemText, "%s", text);
        }
    }
    char report[1024];
    std::snprintf(report, sizeof report,
                  "The \"%s\" function failed with error %d: %s\nEnclosing Function: %s\nFile: %s\nLine: %d",
                  context.function.c_str(), code, systemText, context.enclosingFunction.c_str(),
                  context.file.c_str(), context.line);

    // The report always reaches standard error as well: a box on screen is
    // lost with the process, a log line is not.
    if (!IsHeadless())
    {
        std::fprintf(stderr, "Error: %s\n", report);
        std::fflush(stderr);
        std::int32_t ignored = AnswerOk;
        ShowSdlBox("Error", report, KindError, kOkOnly, ignored);
    }
    else
    {
        ShowMessageBox("Error", report, KindError, ButtonsOk);
    }
    std::fflush(stdout);
    // No static destructors: other threads may hold locks they would need.
    std::_Exit(code != 0 ? code : 1);
}

} // namespace PAL

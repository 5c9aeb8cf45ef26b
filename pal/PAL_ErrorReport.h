#pragma once

#include <cstdint>
#include <string>

namespace PAL
{

// Checked platform calls. A call whose failure the program cannot survive is
// bracketed so:
//
//     PAL::BeginCheckedCall("SDL_GL_MakeCurrent", "Renderer::OpenGLRenderer::Begin", __LINE__,
//     "Renderer_OpenGL"); PAL::EndCheckedCall(SDL_GL_MakeCurrent(window, context) != 0);
//
// BeginCheckedCall records where the call is made (the line plus one: the
// guarded call sits on the next line) and clears errno and SDL's error text.
// EndCheckedCall with `failed` set shows the "Error" report
//
//     The "<function>" function failed with error <code>: <system text>
//     Enclosing Function: <enclosing>
//     File: <file>
//     Line: <line>
//
// and ends the process with the error code. The code is errno; when the call
// left errno at 0 (SDL calls usually do) the system text is SDL's error text
// and the process ends with code 1. It never returns after a failure.
void BeginCheckedCall(const char* function, const char* enclosingFunction, int line, const char* file);
void EndCheckedCall(bool failed);

// Button sets: each code is the sum of the answers it offers.
enum MessageBoxButtons : std::int32_t
{
    ButtonsOk = 32,
    ButtonsOkCancel = 34,
    ButtonsAbortRetryIgnore = 72,
    ButtonsYesNoCancel = 274,
    ButtonsYesNo = 272,
    ButtonsRetryCancel = 66,
    ButtonsCancelTryContinue = 134,
};

// Answers returned by ShowMessageBox.
enum MessageBoxAnswer : std::int32_t
{
    AnswerAbort = 0,
    AnswerCancel = 2,
    AnswerContinue = 4,
    AnswerIgnore = 8,
    AnswerNo = 16,
    AnswerOk = 32,
    AnswerRetry = 64,
    AnswerTryAgain = 128,
    AnswerYes = 256,
};

// Kinds (the box's icon); any other value shows none.
enum MessageBoxKind : std::int32_t
{
    KindInformation = 1,
    KindWarning = 2,
    KindError = 3,
    KindQuestion = 4,
};

// Shows a modal box and returns the chosen answer. An unknown button-set
// code shows OK alone. Headless (see IsHeadless), or when the box cannot be
// shown, "<caption>: <text>" goes to standard error and the default answer,
// the set's first button, returns at once.
std::int32_t ShowMessageBox(const std::string& caption, const std::string& text, std::int32_t kind,
                            std::int32_t buttons);

// True when ENGINE_HEADLESS is set to anything but "" or "0", or when the
// environment names no display (neither DISPLAY nor WAYLAND_DISPLAY).
bool IsHeadless();

} // namespace PAL

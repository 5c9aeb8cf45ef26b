#include "pal/PAL_ErrorReport.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

namespace
{

// Runs in the death-test child: no display, so nothing waits for a click.
void GoHeadless()
{
    setenv("ENGINE_HEADLESS", "1", 1);
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
}

void FailOpen()
{
    GoHeadless();
    PAL::BeginCheckedCall("open", "Loader::ReadTable", 41, "Loader_Table");
    const int fd = open("/nonexistent/brillow/table.bin", O_RDONLY);
    PAL::EndCheckedCall(fd < 0);
}

void FailWithoutCode()
{
    GoHeadless();
    PAL::BeginCheckedCall("CreateSurface", "Renderer::Begin", 9, "Renderer_Begin");
    PAL::EndCheckedCall(true);
}

TEST(ErrorReportDeathTest, FailedCallReportsAndExitsWithItsCode)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        FailOpen(), ::testing::ExitedWithCode(ENOENT),
        ::testing::HasSubstr("Error: The \"open\" function failed with error 2: No such file or directory\n"
                             "Enclosing Function: Loader::ReadTable\n"
                             "File: Loader_Table\n"
                             "Line: 42\n"));
}

TEST(ErrorReportDeathTest, FailureWithoutErrorCodeStillEndsTheProcess)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        FailWithoutCode(), ::testing::ExitedWithCode(1),
        ::testing::HasSubstr("The \"CreateSurface\" function failed with error 0: Unknown error\n"
                             "Enclosing Function: Renderer::Begin\nFile: Renderer_Begin\nLine: 10\n"));
}

TEST(ErrorReport, SuccessfulCallGoesOn)
{
    PAL::BeginCheckedCall("open", "Test", 1, "Test");
    errno = EINVAL; // a stale code without a failure reports nothing
    PAL::EndCheckedCall(false);
    SUCCEED();
}

class MessageBoxTest : public ::testing::Test
{
protected:
    void SetUp() override { setenv("ENGINE_HEADLESS", "1", 1); }
};

TEST_F(MessageBoxTest, HeadlessBoxPrintsAndReturnsTheDefaultAnswerOfEachSet)
{
    struct Case
    {
        std::int32_t buttons;
        std::int32_t answer;
    };
    const Case cases[] = {
        {PAL::ButtonsOk, PAL::AnswerOk},
        {PAL::ButtonsOkCancel, PAL::AnswerOk},
        {PAL::ButtonsAbortRetryIgnore, PAL::AnswerAbort},
        {PAL::ButtonsYesNoCancel, PAL::AnswerYes},
        {PAL::ButtonsYesNo, PAL::AnswerYes},
        {PAL::ButtonsRetryCancel, PAL::AnswerRetry},
        {PAL::ButtonsCancelTryContinue, PAL::AnswerCancel},
        {0, PAL::AnswerOk},
        {12345, PAL::AnswerOk},
    };
    EXPECT_TRUE(PAL::IsHeadless());
    for (const Case& c : cases)
    {
        testing::internal::CaptureStderr();
        EXPECT_EQ(PAL::ShowMessageBox("Script Error", "line 3: unexpected symbol", PAL::KindError, c.buttons),
                  c.answer)
            << "buttons " << c.buttons;
        EXPECT_EQ(testing::internal::GetCapturedStderr(), "Script Error: line 3: unexpected symbol\n");
    }
}

TEST_F(MessageBoxTest, HeadlessWhenAskedOrWithoutAScreen)
{
    const char* display = std::getenv("DISPLAY");
    const std::string saved = display != nullptr ? display : "";
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    const std::string savedWayland = wayland != nullptr ? wayland : "";

    setenv("DISPLAY", ":99", 1);
    setenv("ENGINE_HEADLESS", "0", 1);
    EXPECT_FALSE(PAL::IsHeadless());
    setenv("ENGINE_HEADLESS", "", 1);
    EXPECT_FALSE(PAL::IsHeadless());
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
    EXPECT_TRUE(PAL::IsHeadless());

    setenv("ENGINE_HEADLESS", "1", 1);
    if (display != nullptr)
    {
        setenv("DISPLAY", saved.c_str(), 1);
    }
    if (wayland != nullptr)
    {
        setenv("WAYLAND_DISPLAY", savedWayland.c_str(), 1);
    }
}

} // namespace

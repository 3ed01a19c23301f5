// How the results of the installation's steps become the run's exit code and
// the wizard's closing message, and the form of a log line.
#include <gtest/gtest.h>

#include <string.h>

#include <string>

#include "common/log_line.h"
#include "installer/steps/install_results.h"

TEST(InstallResults, FirstFailureWinsOverRestartAndSuccess)
{
    InstallResults clean;
    clean.Record(InstallOutcome::kInstalled);
    EXPECT_EQ(clean.Outcome(), InstallOutcome::kInstalled);

    InstallResults restart;
    restart.Record(InstallOutcome::kInstalled);
    restart.Record(InstallOutcome::kRestartNeeded);
    restart.Record(InstallOutcome::kInstalled);
    EXPECT_EQ(restart.Outcome(), InstallOutcome::kRestartNeeded);
    EXPECT_EQ(static_cast<int>(restart.Outcome()), 3010);

    // A failure after a restart-needed step, then another failure: the first
    // failure is the code; a restart never hides a failure.
    InstallResults failed;
    failed.Record(InstallOutcome::kRestartNeeded);
    failed.Record(InstallOutcome::kMonitorLibraryFailed);
    failed.Record(InstallOutcome::kPortFailed);
    failed.Record(InstallOutcome::kMonitorLibraryFailed);
    failed.Record(InstallOutcome::kInstalled);
    EXPECT_EQ(failed.Outcome(), InstallOutcome::kMonitorLibraryFailed);
    ASSERT_EQ(failed.FailureCount(), 2);
    EXPECT_EQ(failed.Failure(1), InstallOutcome::kPortFailed);
}

TEST(InstallResults, EveryStepCodeIsDistinctAndNamed)
{
    // Each step's failure has its own code (the README's table) and a name
    // for the closing message that no other name contains, so the message
    // cannot be read as naming a step that did not fail; the codes before
    // them are the early stops.
    for (int code = 9; code <= 19; ++code) {
        SCOPED_TRACE(code);
        const InstallOutcome outcome = static_cast<InstallOutcome>(code);
        ASSERT_NE(StepName(outcome), nullptr);
        EXPECT_EQ(InstallOutcomeMessage(outcome), nullptr);
        for (int other = 9; other <= 19; ++other) {
            if (other != code) {
                EXPECT_EQ(std::u16string(StepName(static_cast<InstallOutcome>(other))).find(StepName(outcome)),
                          std::u16string::npos)
                    << other;
            }
        }
    }
    for (int code = 2; code <= 8; ++code) {
        EXPECT_NE(InstallOutcomeMessage(static_cast<InstallOutcome>(code)), nullptr);
        EXPECT_EQ(StepName(static_cast<InstallOutcome>(code)), nullptr);
    }
    EXPECT_EQ(StepName(InstallOutcome::kRestartNeeded), nullptr);
}

TEST(InstallResults, ClosingMessageNamesEachFailureAndTheLog)
{
    InstallResults results;
    results.Record(InstallOutcome::kPortFailed);
    results.Record(InstallOutcome::kServiceFailed);
    results.Record(InstallOutcome::kPortFailed);
    char16_t message[1024];
    const size_t size = sizeof message / sizeof message[0];
    ASSERT_TRUE(ComposeFailureMessage(message, size, results, u"C:\\Temp\\VarnekPrinterSetup.log"));
    const std::u16string text = message;
    EXPECT_EQ(text.rfind(u"安装未完成，以下步骤失败：", 0), 0u);
    const std::u16string port = StepName(InstallOutcome::kPortFailed);
    EXPECT_EQ(text.find(port), text.rfind(port)) << "named once";
    EXPECT_NE(text.find(StepName(InstallOutcome::kServiceFailed)), std::u16string::npos);
    EXPECT_EQ(text.find(StepName(InstallOutcome::kQueueFailed)), std::u16string::npos);
    EXPECT_NE(text.find(u"\r\n详细信息请见安装日志：\r\nC:\\Temp\\VarnekPrinterSetup.log"), std::u16string::npos);

    // A log path outside code page 936 ("ë", as a 1252 Windows has it) and
    // beyond the Basic Multilingual Plane ends the message unchanged.
    const char16_t foreign[] = u"C:\\Users\\Zoë\\\U0001F5A8\\VarnekPrinterSetup.log";
    ASSERT_TRUE(ComposeFailureMessage(message, size, results, foreign));
    const std::u16string withForeign = message;
    EXPECT_EQ(withForeign.substr(withForeign.size() - (sizeof foreign / sizeof foreign[0] - 1)), foreign);

    // Without a log, no place is named.
    ASSERT_TRUE(ComposeFailureMessage(message, size, results, u""));
    EXPECT_EQ(std::u16string(message).find(u"日志"), std::u16string::npos);

    // Refused, never cut, when it does not fit.
    const std::u16string longLog = u"C:\\" + std::u16string(250, u'l');
    ASSERT_TRUE(ComposeFailureMessage(message, size, results, longLog.c_str()));
    const size_t needed = std::u16string(message).size() + 1;
    EXPECT_FALSE(ComposeFailureMessage(message, needed - 1, results, longLog.c_str()));
    EXPECT_EQ(message[0], u'\0');
    EXPECT_TRUE(ComposeFailureMessage(message, needed, results, longLog.c_str()));
}

TEST(LogLine, FieldsAreTabSeparatedOnOneLine)
{
    const LogTime time = {2026, 12, 9, 8, 5, 3, 7};
    char line[kLogLineSize];
    ASSERT_TRUE(FormatLogLine(line, sizeof line, time, "driver file", "C:\\windows\\system32\\spool\\drivers\\x64\\UNIDRV.dll",
                              "in use, replaced at restart", 32));
    EXPECT_STREQ(line, "2026-12-09 08:05:03.007\tdriver file\tC:\\windows\\system32\\spool\\drivers\\x64\\UNIDRV.dll\t"
                       "in use, replaced at restart\t32\r\n");

    // A control character in a field cannot start a line of its own or move a field.
    ASSERT_TRUE(FormatLogLine(line, sizeof line, time, "step", "C:\\a\r\nfake\tline", "ok", 0));
    EXPECT_STREQ(line, "2026-12-09 08:05:03.007\tstep\tC:\\a??fake?line\tok\t0\r\n");

    // Code page 936 text passes through as it is; error codes are unsigned.
    ASSERT_TRUE(FormatLogLine(line, sizeof line, time, "start menu", "C:\\Program Files\\Varnek 打印机", "failed",
                              0x80070003UL));
    EXPECT_NE(std::string(line).find("Varnek 打印机\tfailed\t2147942403\r\n"), std::string::npos);
}

TEST(LogLine, PathOf255CharactersFitsLongerIsRefused)
{
    const LogTime time = {2026, 1, 1, 0, 0, 0, 0};
    char line[kLogLineSize];
    const std::string path = "C:\\" + std::string(252, 'p');
    ASSERT_TRUE(FormatLogLine(line, sizeof line, time, "extract", path.c_str(), "in use, replaced at restart",
                              4294967295UL));
    const size_t needed = strlen(line) + 1;
    EXPECT_FALSE(FormatLogLine(line, needed - 1, time, "extract", path.c_str(), "in use, replaced at restart",
                               4294967295UL));
    EXPECT_STREQ(line, "");
}

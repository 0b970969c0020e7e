#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "tests/support/scoped.h"
#include "toolkit/core/error_box.h"
#include "toolkit/core/message_log.h"

namespace {

std::vector<std::string> shown;

void ReentrantSink(const std::string& message) {
    shown.push_back(message);
    qiva::ShowErrorBox("raised while the box shows"); // dropped: boxes never stack
}

TEST(ErrorBox, IsNeverReentered) {
    shown.clear();
    {
        qiva::SetErrorBoxSink(&ReentrantSink);
        const qiva_test::ScopeExit restore([] { qiva::SetErrorBoxSink(nullptr); });
        qiva::ShowErrorBox("first");
        qiva::ShowErrorBox("second");
    }
    EXPECT_EQ(shown, (std::vector<std::string>{"first", "second"}));
}

TEST(ErrorBox, HeadlessSinkRecordsEveryMessage) {
    qiva::ClearErrorBoxHistory();
    qiva::ShowErrorBox("Erreur 4:Pas de place mémoire");
    EXPECT_EQ(qiva::ErrorBoxHistory(), std::vector<std::string>{"Erreur 4:Pas de place mémoire"});
    qiva::ClearErrorBoxHistory();
}

TEST(MessageLog, KeepsCrLfLinesAndWritesPlainLines) {
    qiva::ClearMessageLog();
    qiva::AppendToMessageLog("Vérifiez votre configuration :");
    qiva::AppendToMessageLog("");
    EXPECT_EQ(qiva::MessageLogText(), "Vérifiez votre configuration :\r\n\r\n");

    std::FILE* out = std::tmpfile();
    ASSERT_NE(out, nullptr);
    qiva::WriteMessageLog(out);
    std::rewind(out);
    char buffer[128] = {};
    const std::size_t n = std::fread(buffer, 1, sizeof buffer - 1, out);
    std::fclose(out);
    EXPECT_EQ(std::string(buffer, n), "Vérifiez votre configuration :\n\n");
    EXPECT_EQ(qiva::MessageLogText(), ""); // written once, then freed
}

} // namespace

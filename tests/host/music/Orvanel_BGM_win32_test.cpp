// The music module over the real winmm calls: codes, replies and error texts
// as the platform gives them.
#include "Orvanel_BGM.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

TEST(WinmmChannel, ASuccessfulQueryRepliesWithItsText) {
    std::string reply = "old";
    ASSERT_EQ(MciSend("sysinfo all quantity", reply), 0);
    ASSERT_FALSE(reply.empty());
    EXPECT_EQ(reply.find_first_not_of("0123456789"), std::string::npos) << reply;
}

TEST(WinmmChannel, AFailingCommandGivesItsCodeAndThePlatformsText) {
    for (const char* command : {"frobnicate cdaudio", "status NoSuchAlias mode"}) {
        SCOPED_TRACE(command);
        std::string text = MciSendText(command);
        ASSERT_EQ(text.rfind("Error:", 0), 0u) << text;
        int code = std::atoi(text.c_str() + 6);
        EXPECT_GT(code, 256) << text; // MCI error codes start above MCIERR_BASE
        EXPECT_FALSE(MciLastReply.empty());
        EXPECT_NE(MciLastReply, kMciNoErrorText);
    }
}

TEST(WinmmChannel, NoCommandSendsNothing) {
    std::string reply;
    EXPECT_EQ(MciSend("", reply), -1);
    EXPECT_EQ(reply, kMciNoCommandText);
}

} // namespace

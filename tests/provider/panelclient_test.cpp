#include "base/exception.h"
#include "provider/panelclient.h"
#include "testhttpserver.h"

#include <gtest/gtest.h>

namespace quorvel {
namespace {

const QString kPassword = QStringLiteral("hunter22");
const QString kAccount = QStringLiteral("/player_api.php?username=anna&password=hunter22");

TestHttpServer::Answer Answer(int status, const QByteArray& body, bool silent = false)
{
    TestHttpServer::Answer answer;
    answer.status = status;
    answer.body = body;
    answer.silent = silent;
    return answer;
}

std::string Failure(PanelClient& client, const QString& action)
{
    try {
        client.Ask(action, "the account");
    } catch (const Exception& e) {
        return e.Message();
    }
    return "no failure";
}

TEST(PanelClient, AsksWithTheLoginAndReadsTheAnswer)
{
    TestHttpServer server;
    server.Serve(kAccount, Answer(200, R"({"user_info":{"auth":1}})"));
    server.Serve(kAccount + "&action=get_live_categories", Answer(200, "[]"));
    PanelClient client(ProviderLogin(server.Url(""), "anna", kPassword));
    EXPECT_EQ(client.Ask("", "the account"), R"({"user_info":{"auth":1}})");
    EXPECT_EQ(client.Ask("get_live_categories", "the live categories"), "[]");
}

TEST(PanelClient, FailuresAreSaidPlainlyWithoutThePassword)
{
    TestHttpServer server;
    server.Serve(kAccount, Answer(401, "no"));
    server.Serve(kAccount + "&action=big", Answer(200, QByteArray(5000, ' ')));
    server.Serve(kAccount + "&action=silent", Answer(200, {}, true));
    PanelClient::Options options;
    options.maxBytes = 1000;
    options.timeoutMs = 300;
    PanelClient client(ProviderLogin(server.Url(""), "anna", kPassword), options);
    const std::string wrong = Failure(client, "");
    EXPECT_NE(wrong.find("does not know this user name and password"), std::string::npos) << wrong;
    const std::string big = Failure(client, "big");
    EXPECT_NE(big.find("larger than"), std::string::npos) << big;
    const std::string silent = Failure(client, "silent");
    EXPECT_NE(silent.find("no answer"), std::string::npos) << silent;
    const std::string missing = Failure(client, "missing");
    EXPECT_NE(missing.find("404"), std::string::npos) << missing;
    for (const auto& message : {wrong, big, silent, missing})
        EXPECT_EQ(message.find(kPassword.toStdString()), std::string::npos) << message;
}

} // namespace
} // namespace quorvel

// The procedure table against the host's API program, and every call stub
// against a real RPC server on the loopback interface.
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <csignal>
#include <cstring>
#include <memory>
#include <string>
#include <utility>

#include "records_support.h"
#include "stubs_server.h"

using namespace wiretest;
using tarnel::wire::findProc;
using tarnel::wire::ProcEntry;
using tarnel::wire::procCount;
using tarnel::wire::procTable;
using tarnel::wire::recordCatalogue;
using tarnel::wire::recordCount;

namespace {

// The program's procedure numbers: these blocks and nothing between them.
const std::pair<u_int, u_int> kBlocks[] = {
    {1000, 1055}, {1058, 1093}, {1098, 1106}, {1108, 1109}, {1111, 1113}, {1200, 1205},
    {1250, 1258}, {1266, 1269}, {1285, 1287}, {1298, 1305}, {1310, 1310}, {1315, 1318},
    {1340, 1344}, {1360, 1361}, {1370, 1381}, {1390, 1390}, {1400, 1415}, {1500, 1504}};

bool is_record(const std::string &name)
{
    for (std::size_t i = 0; i < recordCount; ++i)
        if (name == recordCatalogue[i].name)
            return true;
    return false;
}

TEST(ProcTable, MatchesTheProgramsProcedureBlocks)
{
    ASSERT_EQ(procCount, 182u);
    std::size_t in_blocks = 0;
    for (auto [first, last] : kBlocks)
        for (u_int n = first; n <= last; ++n, ++in_blocks)
            EXPECT_NE(findProc(n), nullptr) << n;
    EXPECT_EQ(in_blocks, procCount); // so every entry lies in a block
    for (u_int n : {999u, 1056u, 1057u, 1107u, 1110u, 1199u, 1309u, 1505u})
        EXPECT_EQ(findProc(n), nullptr) << n;
}

TEST(ProcTable, EntriesAreOrderedNamedAndTyped)
{
    for (std::size_t i = 0; i < procCount; ++i) {
        const ProcEntry &e = procTable[i];
        SCOPED_TRACE(e.stub);
        if (i > 0) {
            EXPECT_LT(procTable[i - 1].number, e.number);
        }
        EXPECT_EQ(findProc(e.number), &e);
        std::string stub = e.stub;
        EXPECT_EQ(stub.substr(stub.size() - 2), "_1");
        for (std::string type : {e.argType, e.resType})
            EXPECT_TRUE(type == "int" || type == "StringT" || type == "void" || is_record(type))
                << type;
        EXPECT_EQ(e.argSize == 0, std::string(e.argType) == "void");
        EXPECT_EQ(e.resSize == 0, std::string(e.resType) == "void");
    }
    EXPECT_STREQ(findProc(1000)->stub, "api_tn_init_ack_5_1");
    EXPECT_STREQ(findProc(1012)->stub, "old_api_tn_choose_file_1");
    EXPECT_STREQ(findProc(1019)->stub, "api_tn_open_1");
    EXPECT_STREQ(findProc(1340)->stub, "api_client_number_1");
    EXPECT_STREQ(findProc(1344)->stub, "api_set_client_directory_1");
    EXPECT_STREQ(findProc(1343)->argType, "void");
    EXPECT_STREQ(findProc(1343)->resType, "void");
}

class Stubs : public ::testing::Test {
protected:
    // A peer that vanishes must surface as a failed call, not a signal.
    static void SetUpTestSuite() { std::signal(SIGPIPE, SIG_IGN); }

    void SetUp() override
    {
        server_ = std::make_unique<LoopbackRpcServer>();
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_port = htons(server_->port());
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        int sock = RPC_ANYSOCK;
        client_ = clnttcp_create(&addr, API_TO_TN_PROG, API_TO_TN_VERS, &sock, 0, 0);
        ASSERT_NE(client_, nullptr);
        timeval limit{10, 0};
        clnt_control(client_, CLSET_TIMEOUT, reinterpret_cast<char *>(&limit));
    }

    void TearDown() override
    {
        if (client_ != nullptr)
            clnt_destroy(client_);
        server_.reset();
    }

    std::unique_ptr<LoopbackRpcServer> server_;
    CLIENT *client_ = nullptr;
};

TEST_F(Stubs, EveryStubSendsItsArgumentAndReturnsTheDecodedReply)
{
    for (std::size_t i = 0; i < procCount; ++i) {
        const ProcEntry &e = procTable[i];
        SCOPED_TRACE(e.stub);
        Held arg(e.argProc, e.argSize);
        Bytes arg_bytes;
        if (e.argSize != 0) {
            ASSERT_TRUE(random_fill(e.argProc, arg.get(), e.number));
            ASSERT_TRUE(encode_any(e.argProc, arg.get(), &arg_bytes));
        }
        Bytes res_bytes;
        if (e.resSize != 0) {
            Held res(e.resProc, e.resSize);
            ASSERT_TRUE(random_fill(e.resProc, res.get(), e.number + 5000));
            ASSERT_TRUE(encode_any(e.resProc, res.get(), &res_bytes));
        }
        server_->set_reply(res_bytes);

        void *result = e.call(arg.get(), client_);
        ASSERT_NE(result, nullptr);
        ReceivedCall call = server_->last_call();
        EXPECT_EQ(call.prog, API_TO_TN_PROG);
        EXPECT_EQ(call.vers, 1u);
        EXPECT_EQ(call.proc, e.number);
        EXPECT_EQ(call.args, arg_bytes);
        if (e.argSize == 0) {
            EXPECT_TRUE(call.args.empty());
        }
        if (e.resSize != 0) {
            Bytes back;
            EXPECT_TRUE(encode_any(e.resProc, result, &back));
            EXPECT_EQ(back, res_bytes);
            xdr_free(e.resProc, result);
        }
    }
    EXPECT_EQ(server_->calls(), static_cast<int>(procCount));
}

TEST_F(Stubs, ResultAreaIsReusedThenZeroedWhenTheHostIsGone)
{
    ApiTnGetPropArgT arg{5, 9, {20, nullptr}};
    server_->set_reply(wire({3, 77}));
    ApiTnGetIntRetT *first = api_tn_get_int_1(&arg, client_);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->status, 3);
    EXPECT_EQ(first->value, 77);
    server_->set_reply(wire({0, 78}));
    EXPECT_EQ(api_tn_get_int_1(&arg, client_), first);
    EXPECT_EQ(first->value, 78);

    server_->stop();
    EXPECT_EQ(api_tn_get_int_1(&arg, client_), nullptr);
    EXPECT_EQ(first->status, 0);
    EXPECT_EQ(first->value, 0);
    int bailout = 0;
    EXPECT_EQ(api_tn_over_1(&bailout, client_), nullptr);
}

// A reply that breaks off part-way leaves nothing allocated behind (the
// sanitizer build checks) and an all-zero result area.
TEST_F(Stubs, UndecodableReplyFailsAndReleasesThePartialResult)
{
    ApiTnGetPropArgT arg{5, 9, {0, const_cast<char *>("Names")}};
    server_->set_reply(wire({0, 1, 1, "z"}));
    ApiTnGetStringsRetT *area = api_tn_get_strings_1(&arg, client_);
    ASSERT_NE(area, nullptr);
    ASSERT_EQ(area->value.count, 1u);
    xdr_free(reinterpret_cast<xdrproc_t>(&xdr_ApiTnGetStringsRetT), area);

    // Three strings claimed, two sent.
    server_->set_reply(wire({9, 3, 1, "a", 2, "bc"}));
    EXPECT_EQ(api_tn_get_strings_1(&arg, client_), nullptr);
    EXPECT_EQ(area->status, 0);
    EXPECT_EQ(area->value.count, 0u);
    EXPECT_EQ(area->value.items, nullptr);

    // A count far beyond the data.
    server_->set_reply(wire({9, 0x7ffffff0u, 20, 3, 1, "x"}));
    ApiTnGeneralObjArgT obj{5, 9};
    EXPECT_EQ(api_tn_get_props_1(&obj, client_), nullptr);
}

} // namespace

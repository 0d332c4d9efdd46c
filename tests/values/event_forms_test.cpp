// The two forms of a trace event (tnhost's transcript line and its JSON
// line): what each kind of value looks like in each, and that a real stays
// a real.
#include <gtest/gtest.h>

#include <string>

#include "trace/event.h"

namespace {

using tarnel::trace::Event;
using tarnel::trace::Node;

Node numbers(int n) {
    Node list = Node::list();
    for (int i = 0; i < n; ++i) list.push(Node::number(i));
    return list;
}

TEST(EventForms, EachKindInTextAndJson) {
    const struct {
        const char *name;
        Node value;
        const char *text;
        const char *json;
    } cases[] = {
        {"negative int", Node::number(-7), "-7", "-7"},
        {"whole real keeps its point", Node::fraction(12), "12.0", "12.0"},
        {"round real is not an exponent", Node::fraction(100), "100.0", "100.0"},
        {"fraction", Node::fraction(0.5), "0.5", "0.5"},
        {"huge real", Node::fraction(1e20), "1e+20", "1e+20"},
        {"text escaped", Node::quoted("a\"b\\\n\x01"), R"("a\"b\\\n\x01")", R"("a\"b\\\n\u0001")"},
        {"text not UTF-8", Node::quoted("\xff"), R"("\xFF")", R"("\u00ff")"},
        {"word that looks like a number", Node::bare("0042"), "0042", R"("0042")"},
        {"null", Node(), "null", "null"},
        {"record", Node::record().add("x", Node::number(1)).add("s", Node::quoted("")), R"({x=1,s=""})",
         R"({"x":1,"s":""})"},
        {"list cut in text only", numbers(18), "[0,1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,...+2]",
         "[0,1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17]"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        Event e("e");
        e.add("v", c.value);
        EXPECT_EQ(asText(e), std::string("e v=") + c.text);
        EXPECT_EQ(asJson(e), std::string(R"({"event":"e","v":)") + c.json + "}");
    }
}

TEST(EventForms, FlagsAndResult) {
    Event e("request");
    e.word("client", "c1").flag("unknown").then().flag("reply").number("status", -2);
    EXPECT_EQ(asText(e), "request client=c1 unknown -> reply status=-2");
    EXPECT_EQ(asJson(e), R"({"event":"request","client":"c1","unknown":true,"result":{"reply":true,"status":-2}})");
}

}  // namespace

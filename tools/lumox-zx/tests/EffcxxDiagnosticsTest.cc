#include <gtest/gtest.h>

#include <string>

#include "tests/support/TestSupport.h"
#include "tools/lumox-zx/EffcxxDiagnostics.h"

using namespace effcxx;

namespace {

// What GCC 12 prints for examples/effc++/shapes.cc in the C locale.
const char* const shapesOutput =
    "shapes.cc:9:7: warning: 'class Label' has pointer data members [-Weffc++]\n"
    "    9 | class Label {\n"
    "      |       ^~~~~\n"
    "shapes.cc:9:7: warning:   but does not declare 'Label(const Label&)' [-Weffc++]\n"
    "shapes.cc:9:7: warning:   or 'operator=(const Label&)' [-Weffc++]\n"
    "shapes.cc:20:11: note: pointer member 'Label::_text' declared here\n"
    "   20 |     char* _text;\n"
    "      |           ^~~~~\n"
    "shapes.cc: In constructor 'Label::Label(const char*)':\n"
    "shapes.cc:11:5: warning: 'Label::_text' should be initialized in the member initialization list [-Weffc++]\n"
    "   11 |     Label(const char* text)\n"
    "      |     ^~~~~\n"
    "shapes.cc: At global scope:\n"
    "shapes.cc:26:7: warning: 'class Shape' has virtual functions and accessible non-virtual destructor "
    "[-Wnon-virtual-dtor]\n"
    "shapes.cc:32:7: warning: base class 'class Shape' has accessible non-virtual destructor [-Wnon-virtual-dtor]\n"
    "shapes.cc:52:12: warning: 'Point& Point::operator+(const Point&)' should return by value [-Weffc++]\n"
    "shapes.cc:58:11: warning: prefix 'Point Point::operator++()' should return 'Point&' [-Weffc++]\n"
    "shapes.cc: In member function 'void Point::operator=(const Point&)':\n"
    "shapes.cc:48:5: warning: 'operator=' should return a reference to '*this' [-Weffc++]\n"
    "shapes.cc: In function 'int main()':\n"
    "shapes.cc:70:9: warning: unused variable 'x' [-Wunused-variable]\n"
    "shapes.cc:74:5: error: 'nothing' was not declared in this scope\n";

}  // namespace

TEST(EffcxxDiagnostics, eachDiagnosticGetsItsItemSeverityAndClass)
{
    std::string other;
    std::vector<Diagnostic> all = parse(shapesOutput, &other);
    ASSERT_EQ(all.size(), 9u);
    struct Expect {
        int line, item, severity;
        const char* cls;
    } expected[] = {{9, 11, 4, "Label"}, {11, 12, 2, "Label"}, {26, 14, 5, "Shape"},
                    {32, 14, 4, "Shape"}, {52, 23, 3, "Point"}, {58, 6, 1, "Point"}, {48, 15, 3, "Point"}};
    for (size_t k = 0; k < 7; ++k) {
        SCOPED_TRACE(k);
        Diagnostic& d = all[k];
        ASSERT_TRUE(classify(d));
        EXPECT_EQ(d.file, "shapes.cc");
        EXPECT_EQ(d.line, expected[k].line);
        EXPECT_EQ(d.rule.item, expected[k].item);
        EXPECT_EQ(d.severity, expected[k].severity);
        EXPECT_EQ(d.className, expected[k].cls);
    }
    EXPECT_STREQ(all[5].rule.ruleSet, "More Effective C++");
    // Continuations, notes and the source excerpt stay with their diagnostic.
    EXPECT_EQ(all[0].text.find("but does not declare") != std::string::npos, true);
    EXPECT_EQ(all[0].text.find("   20 |     char* _text;") != std::string::npos, true);
    EXPECT_EQ(all[1].context, "shapes.cc: In constructor 'Label::Label(const char*)':\n");
    EXPECT_FALSE(classify(all[7])) << "other warnings are not violations";
    EXPECT_FALSE(classify(all[8]));
    EXPECT_EQ(all[8].context, "shapes.cc: In function 'int main()':\n");
    EXPECT_EQ(other, "");
}

TEST(EffcxxDiagnostics, warningsTurnedIntoErrorsAndTypographicQuotesStillCount)
{
    std::vector<Diagnostic> all =
        parse("a.cc:3:1: error: \xe2\x80\x98" "Foo::bar" "\xe2\x80\x99" " should be initialized in the member "
              "initialization list [-Werror=effc++]\n");
    ASSERT_EQ(all.size(), 1u);
    ASSERT_TRUE(classify(all[0]));
    EXPECT_EQ(all[0].rule.item, 12);
    EXPECT_EQ(all[0].className, "Foo");
}

TEST(EffcxxDiagnostics, classNamesFromTheCompilersQuotedNames)
{
    EXPECT_EQ(classOf("class Label"), "Label");
    EXPECT_EQ(classOf("struct ns::Node"), "ns::Node");
    EXPECT_EQ(classOf("Label::_text"), "Label");
    EXPECT_EQ(classOf("Money& Money::operator+(const Money&)"), "Money");
    EXPECT_EQ(classOf("bool C::operator,(const C&) const"), "C");
    EXPECT_EQ(classOf("std::map<int, int> Reg::all()"), "Reg");
    EXPECT_EQ(classOf("Pt& operator-(const Pt&, const Pt&)"), "");
    EXPECT_EQ(classOf("operator="), "");
    EXPECT_EQ(classOf("Shape"), "Shape");
}

// The program itself, on the shipped example, with no collector to talk to:
// the compile still succeeds and the violations are not lost.
TEST(LumoxZx, withoutACollectorTheViolationsArePrintedAndTheCompilersStatusKept)
{
    int port = lumox_test::findFreePorts(10);
    std::string env = "LUMOX_PORT=" + std::to_string(port);
    lumox_test::Child zx;
    ASSERT_TRUE(zx.start({lumox_test::buildPath("bin/lumox-zx"), "-Zoi", "suppress item 12", "g++", "-c",
                          std::string(LUMOX_SOURCE_DIR) + "/examples/effc++/shapes.cc"},
                         {env}));
    EXPECT_EQ(zx.wait(60000), 0);
    EXPECT_NE(zx.err().find("no Lumox collector is listening"), std::string::npos) << zx.err();
    EXPECT_NE(zx.err().find("'class Label' has pointer data members"), std::string::npos);

    std::string dir = lumox_test::scratchDir("lumox-zx");
    lumox_test::writeFile(dir + "/broken.cc", "int main() { return nothing; }\n");
    lumox_test::Child bad;
    ASSERT_TRUE(bad.start({lumox_test::buildPath("bin/lumox-zx"), "g++", "-c", "broken.cc"}, {env}, dir));
    EXPECT_NE(bad.wait(60000), 0);
    EXPECT_NE(bad.err().find("'nothing' was not declared"), std::string::npos) << bad.err();

    lumox_test::Child none;
    ASSERT_TRUE(none.start({lumox_test::buildPath("bin/lumox-zx")}));
    EXPECT_EQ(none.wait(10000), 2);
    EXPECT_NE(none.err().find("usage: lumox-zx"), std::string::npos);
}

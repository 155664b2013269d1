#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/TestSupport.h"
#include "tools/lumox-zx/EffcxxDiagnostics.h"

using namespace effcxx;

// The compiler outputs under tests/data were printed by g++ 12 and clang++ 14
// for the sources beside them (capture.sh there runs them again).
namespace {

const std::string dataDir = std::string(LUMOX_SOURCE_DIR) + "/tools/lumox-zx/tests/data/";

std::string captured(const std::string& name) { return lumox_test::readFile(dataDir + name); }

// The sources the compilers named: the project's example and the data files.
std::string sourceOf(const std::string& file)
{
    if (file == "shapes.cc")
        return lumox_test::readFile(std::string(LUMOX_SOURCE_DIR) + "/examples/effc++/shapes.cc");
    return lumox_test::readFile(dataDir + file);
}

struct Expect {
    int line, item, severity;
    std::string cls;
};

// Every diagnostic of the output, classified.
std::vector<Diagnostic> classified(const std::string& output)
{
    std::vector<Diagnostic> all = parse(output);
    for (Diagnostic& d : all)
        classify(d, sourceOf);
    return all;
}

void expectViolations(const std::vector<Diagnostic>& all, const std::vector<Expect>& expected)
{
    std::vector<const Diagnostic*> mapped;
    for (const Diagnostic& d : all)
        if (d.mapped)
            mapped.push_back(&d);
    ASSERT_EQ(mapped.size(), expected.size());
    for (size_t k = 0; k < expected.size(); ++k) {
        SCOPED_TRACE(mapped[k]->text);
        EXPECT_EQ(mapped[k]->line, expected[k].line);
        EXPECT_EQ(mapped[k]->rule.item, expected[k].item);
        EXPECT_EQ(mapped[k]->severity, expected[k].severity);
        EXPECT_EQ(mapped[k]->className, expected[k].cls);
    }
}

const Diagnostic* atLine(const std::vector<Diagnostic>& all, int line)
{
    for (const Diagnostic& d : all)
        if (d.line == line)
            return &d;
    return nullptr;
}

}  // namespace

TEST(EffcxxGcc, theExampleGivesEachViolationItsItemSeverityAndClass)
{
    std::vector<Diagnostic> all = classified(captured("shapes.g++.txt"));
    expectViolations(all, {{9, 11, 4, "Label"},
                           {11, 12, 2, "Label"},
                           {11, 12, 2, "Label"},
                           {26, 14, 5, "Shape"},
                           {32, 14, 4, "Shape"},
                           {32, 14, 5, "Circle"},
                           {52, 23, 3, "Point"},
                           {58, 6, 1, "Point"},
                           // g++ quotes only 'operator=', under "At global scope".
                           {48, 15, 3, "Point"},
                           {74, 14, 5, "Shape"}});
    EXPECT_STREQ(atLine(all, 58)->rule.ruleSet, "More Effective C++");
    EXPECT_EQ(atLine(all, 48)->context, "shapes.cc: At global scope:\n");
    // Continuations, notes and the source excerpt stay with their diagnostic.
    EXPECT_NE(all[0].text.find("warning:   or 'operator=(const Label&)'"), std::string::npos);
    EXPECT_NE(all[0].text.find("   20 |     char* _text;\n      |           ^~~~~\n"), std::string::npos);
    EXPECT_EQ(all[1].context, "shapes.cc: In constructor 'Label::Label(const char*)':\n");
    EXPECT_EQ(unmapped(all), "");
}

TEST(EffcxxGcc, assignmentOperatorsGetTheirClassWhereverTheWarningStands)
{
    std::vector<Diagnostic> all = classified(captured("operators.g++.txt"));
    // Line 11: no context line at all; 28: inside the operator; 38: "At
    // global scope", defined outside its class.
    expectViolations(all, {{11, 15, 3, "geo::Point"},
                           {28, 15, 3, "geo::Segment"},
                           {38, 15, 3, "Grid"},
                           {43, 7, 3, "postfix_counter"},
                           {44, 6, 1, "postfix_counter"},
                           {45, 6, 1, "postfix_counter"},
                           {53, 7, 3, "prefix_list"},
                           {54, 7, 3, "prefix_list"}});
    // "prefix" and "postfix" inside the quoted signatures change nothing.
    EXPECT_STREQ(atLine(all, 43)->rule.ruleSet, "More Effective C++");
    EXPECT_STREQ(atLine(all, 43)->rule.title, "Never overload &&, ||, or ,");
    EXPECT_STREQ(atLine(all, 53)->rule.title, "Never overload &&, ||, or ,");
}

TEST(EffcxxGcc, reorderAndDeleteWarningsAreItems13And14)
{
    std::vector<Diagnostic> all = classified(captured("reorder.g++.txt"));
    // A reordered base names the base: the class is the constructor's.
    expectViolations(all, {{10, 13, 2, "Range"},
                           {24, 13, 2, "Both"},
                           {29, 14, 5, "Shape"},
                           {32, 14, 5, "Abstract"},
                           {38, 14, 5, "Shape"},
                           {39, 14, 5, "Abstract"}});
    EXPECT_NE(all[0].text.find("reorder.cc:5:5: warning:   when initialized here"), std::string::npos);
    EXPECT_EQ(all.size(), 6u);
}

TEST(EffcxxGcc, templateInstancesKeepTheirArgumentsAndInstantiationContext)
{
    std::vector<Diagnostic> all = classified(captured("holder.g++.txt"));
    expectViolations(all, {{4, 14, 5, "store::Holder<int>"}, {6, 12, 2, "store::Holder<int>"}});
    EXPECT_EQ(all[0].context,
              "holder.cc: In instantiation of 'class store::Holder<int>':\nholder.cc:14:24:   required from here\n");
    EXPECT_EQ(unmapped(all), "");
}

TEST(EffcxxClang, itsDiagnosticsMapToTheItemsOfGccsEquivalents)
{
    std::vector<Diagnostic> shapes = classified(captured("shapes.clang++.txt"));
    expectViolations(shapes, {{29, 14, 5, "Shape"}, {32, 14, 5, "Circle"}, {74, 14, 5, "Shape"}});
    // The code and caret lines are the diagnostic's own.
    EXPECT_EQ(shapes[1].text, "shapes.cc:32:7: warning: 'Circle' has virtual functions but non-virtual destructor "
                              "[-Wnon-virtual-dtor]\nclass Circle : public Shape {\n      ^\n");
    EXPECT_EQ(unmapped(shapes), "3 warnings generated.\n");

    std::vector<Diagnostic> reorder = classified(captured("reorder.clang++.txt"));
    expectViolations(reorder, {{5, 13, 2, "Range"},
                               {24, 13, 2, "Both"},
                               {29, 14, 5, "Shape"},
                               {32, 14, 5, "Abstract"},
                               {38, 14, 5, "Shape"},
                               {39, 14, 5, "Abstract"}});
    EXPECT_NE(reorder[0].text.find("                            _lo(lo)  _hi(hi)\n"), std::string::npos);

    std::vector<Diagnostic> holder = classified(captured("holder.clang++.txt"));
    expectViolations(holder, {{4, 14, 5, "store::Holder<int>"}});
    EXPECT_NE(holder[0].text.find("note: in instantiation of template class"), std::string::npos);

    // -Werror makes them errors; they still count.
    std::vector<Diagnostic> error = parse("reorder.cc:8:8: error: 'Base' has virtual functions but non-virtual "
                                          "destructor [-Werror,-Wnon-virtual-dtor]\n");
    ASSERT_TRUE(classify(error[0]));
    EXPECT_EQ(error[0].rule.item, 14);
}

// What is not sent as a violation is printed as the compiler printed it.
TEST(EffcxxOutput, theLinesThatAreNotViolationsKeepTheCompilersOrder)
{
    for (const char* name : {"shapes.g++.txt", "shapes.clang++.txt", "operators.g++.txt", "reorder.g++.txt",
                             "reorder.clang++.txt", "holder.g++.txt", "holder.clang++.txt", "mixed.g++.txt",
                             "mixed.clang++.txt", "fatal.g++.txt", "fatal.clang++.txt"}) {
        SCOPED_TRACE(name);
        std::string output = captured(name);
        EXPECT_EQ(unmapped(parse(output)), output) << "nothing lost, moved or repeated";
    }
    EXPECT_EQ(unmapped(classified(captured("mixed.g++.txt"))),
              "mixed.cc: In function 'int size()':\n"
              "mixed.cc:10:21: error: 'nothing' was not declared in this scope\n"
              "   10 | int size() { return nothing; }\n"
              "      |                     ^~~~~~~\n"
              "mixed.cc: In function 'int unused()':\n"
              "mixed.cc:18:9: warning: unused variable 'x' [-Wunused-variable]\n"
              "   18 |     int x;\n"
              "      |         ^\n");
    EXPECT_EQ(unmapped(classified(captured("mixed.clang++.txt"))),
              "mixed.cc:10:21: error: use of undeclared identifier 'nothing'\n"
              "int size() { return nothing; }\n"
              "                    ^\n"
              "mixed.cc:18:9: warning: unused variable 'x' [-Wunused-variable]\n"
              "    int x;\n"
              "        ^\n"
              "2 warnings and 1 error generated.\n");
    std::vector<Diagnostic> fatal = parse(captured("fatal.g++.txt"));
    ASSERT_EQ(fatal.size(), 3u);
    EXPECT_EQ(fatal[1].kind, "fatal error");
    EXPECT_EQ(fatal[2].text, "compilation terminated.\n");
}

TEST(EffcxxOutput, aContextSharedWithAViolationIsPrintedBeforeTheNextLineUnderIt)
{
    std::vector<Diagnostic> all = parse("a.cc: In function 'int f()':\n"
                                        "a.cc:3:5: warning: 'operator=' should return a reference to '*this' "
                                        "[-Weffc++]\n"
                                        "a.cc:4:9: warning: unused variable 'x' [-Wunused-variable]\n"
                                        "cc1plus: all warnings being treated as errors\n");
    ASSERT_EQ(all.size(), 3u);
    EXPECT_TRUE(classify(all[0]));
    EXPECT_FALSE(classify(all[1]));
    EXPECT_EQ(unmapped(all), "a.cc: In function 'int f()':\n"
                             "a.cc:4:9: warning: unused variable 'x' [-Wunused-variable]\n"
                             "cc1plus: all warnings being treated as errors\n");
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
    EXPECT_EQ(classOf("H<T, N>& H<T, N>::operator+(const H<T, N>&) [with T = int; int N = 3]"), "H<T, N>");
    EXPECT_EQ(classOf("Pt& operator-(const Pt&, const Pt&)"), "");
    EXPECT_EQ(classOf("operator="), "");
    EXPECT_EQ(classOf("Shape"), "Shape");
}

#include <gtest/gtest.h>

#include <string>

#include "tools/lumox-zx/SourceScopes.h"

using effcxx::classAt;

TEST(SourceScopes, membersDefinedInsideAndOutsideTheirClass)
{
    const std::string src =
        "namespace geo {\n"                                       // 1
        "struct Outer {\n"                                        // 2
        "    struct Inner { void operator=(int) { } };\n"         // 3
        "    Outer() : a{1}, b([] { return 2; }()) { a = 0; }\n"  // 4
        "    int a, b;\n"                                         // 5
        "};\n"                                                    // 6
        "namespace {\n"                                           // 7
        "class Hidden { public: void operator=(int); };\n"        // 8
        "}\n"                                                     // 9
        "void Hidden::operator=(int) { }\n"                       // 10
        "}\n"                                                     // 11
        "void free(int) { }\n";                                   // 12
    EXPECT_EQ(classAt(src, 3, 40), "geo::Outer::Inner") << "the '{' of the operator's body";
    EXPECT_EQ(classAt(src, 4, 45), "geo::Outer") << "a constructor's body after braced initializers";
    EXPECT_EQ(classAt(src, 4, 21), "geo::Outer") << "its initializer list";
    EXPECT_EQ(classAt(src, 10, 29), "geo::Hidden");
    EXPECT_EQ(classAt(src, 8, 16), "geo::{anonymous}::Hidden");
    EXPECT_EQ(classAt(src, 8, 7), "geo::{anonymous}::Hidden") << "its head";
    EXPECT_EQ(classAt(src, 10, 1), "geo::Hidden") << "the first column of a definition";
    EXPECT_EQ(classAt(src, 12, 17), "");
    EXPECT_EQ(classAt(src, 40, 1), "") << "beyond the text";
}

TEST(SourceScopes, templatesAreNamedWithTheirParameters)
{
    const std::string src =
        "template <class T, int N = 3, typename... Rest> class Holder {\n"  // 1
        "    void operator=(const Holder&) { }\n"                            // 2
        "    Holder& operator+(const Holder&);\n"                            // 3
        "};\n"                                                               // 4
        "template <class T, int N, typename... Rest>\n"                      // 5
        "Holder<T, N, Rest...>& Holder<T, N, Rest...>::operator+(const Holder&) { return *this; }\n"
        "template <> struct Holder<char, 1> { void operator=(int) { } };\n";  // 7
    EXPECT_EQ(classAt(src, 2, 35), "Holder<T, N, Rest ...>");
    EXPECT_EQ(classAt(src, 6, 80), "Holder<T, N, Rest...>");
    EXPECT_EQ(classAt(src, 7, 59), "Holder<char, 1>");
}

TEST(SourceScopes, commentsLiteralsAndDirectivesHideTheirBraces)
{
    const std::string src =
        "#define OPEN {\n"                           // 1
        "// struct Fake {\n"                         // 2
        "/* class Fake2 { */\n"                      // 3
        "struct Real {\n"                            // 4
        "    const char* s = \"}\";\n"               // 5
        "    char c = '}';\n"                        // 6
        "    const char* r = R\"x(})x\";\n"          // 7
        "\tvoid operator=(int) { }\n"                // 8
        "};\n";                                      // 9
    // g++ counts a tab up to the next multiple of 8: the '{' is column 29.
    EXPECT_EQ(classAt(src, 8, 29), "Real");
    EXPECT_EQ(classAt(src, 9, 3), "");
}

TEST(SourceScopes, aLocalClassAndAnElaboratedReturnType)
{
    const std::string src =
        "struct S { int v; };\n"                                  // 1
        "struct S make() {\n"                                     // 2
        "    struct Local { void operator=(int) { } };\n"         // 3
        "    return S();\n"                                       // 4
        "}\n";                                                    // 5
    EXPECT_EQ(classAt(src, 3, 41), "Local");
    EXPECT_EQ(classAt(src, 4, 5), "") << "the body of a function, not of class S";
}

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "app/records/ConxnMsg.h"
#include "app/messages/MsgArea.h"
#include "app/suppressions/SuprFile.h"
#include "app/suppressions/Suppression.h"
#include "app/sessions/ZxClient.h"
#include "app/records/ZxErrHdr.h"
#include "app/records/ZxErrMsg.h"
#include "app/sessions/ZxSuppress.h"
#include "app/suppressions/ZxSuprRec.h"
#include "app/testsupport/AppTestEnv.h"
#include "app/testsupport/ZxTestEnv.h"
#include "tests/support/TestSupport.h"

using lumox_test::readFile;
using lumox_test::writeFile;

namespace {

// A static-analysis client as its connection makes it, with the command it
// analysed run in `cwd`.
ZxClient* analysis(long token, const std::string& cwd, const std::vector<std::string>& argv = {"lumox-zx", "g++"})
{
    ConxnMsg* signOn = new ConxnMsg(token);
    char header[] = "<Zentrix><42><a.cc><0><host><now>";
    signOn->extract(header);
    ZxClient* c = new ZxClient(signOn);
    std::string line = packed(argv);
    c->setCmdline(static_cast<int>(argv.size()), &line[0], &line[0] + line.size());
    std::string dir = cwd;
    c->setCwd(&dir[0]);
    return c;
}

ZxErrMsg* violation(long token, int item, int severity, const char* cls)
{
    ZxErrMsg* m = new ZxErrMsg(token);
    std::string header = "<Zentrix><host><d><t><42><0><EffC++" + std::to_string(item) + "></src/a.cc><7><" + cls +
                         "><" + std::to_string(severity) + "><title><Effective C++>";
    m->extract(&header[0]);
    m->setBody("text");
    return m;
}

int suppressed(ZxClient* c, int item, int severity, const char* cls = "")
{
    ZxErrMsg* m = violation(c->_id, item, severity, cls);
    int r = c->isSuppressed(m);
    delete m;
    return r;
}

std::string cwdNow()
{
    char* d = getcwd(nullptr, 0);
    std::string s = d ? d : "";
    free(d);
    return s;
}

}  // namespace

TEST(ZxSuppress, theHardwiredSetHidesInformationalViolationsUntilTheHomeFileSaysOtherwise)
{
    ZxScratch s("hardwired");
    appGlobals();
    ZxClient* c = analysis(7, s.project);
    c->append(violation(7, 6, 1, "Point"));
    c->append(violation(7, 12, 2, "Label"));
    EXPECT_EQ(c->nMessages(), 2);
    EXPECT_EQ(c->nShown(), 1) << "the informational one is hidden on arrival";
    // Changed suppressions mark every client's violations again.
    ZxSuprRec* hardwired = ZxSuppress::globalSuppressions().first();
    hardwired->_file->_suppressions.first()->_type = 0;
    int before = theMessageContainer->nMessages();
    ZxSuppress::notifyClients();
    EXPECT_EQ(c->nShown(), 2);
    EXPECT_EQ(theMessageContainer->nMessages(), before + 1) << "the message area counts the line again";
    theMessageContainer->clientSizeAdjust(-1);
    delete c;
    ZxSuppress::release();

    writeFile(s.home + "/.qnrc", "# mine\nZentrix.Unsuppress type i\nsuppress item 12\n");
    c = analysis(2, s.project);
    EXPECT_EQ(suppressed(c, 6, 1), 0);
    EXPECT_EQ(suppressed(c, 12, 2), 0) << "an unprefixed line is not the analyser's in a global file";
    delete c;
}

TEST(ZxSuppress, globalSetsComeInReadingOrderAndTheHomeFileOverridesTheInstallation)
{
    ZxScratch s("global");
    writeFile(s.install + "/.qnrc", "Zentrix.Suppress item 12\nZentrix.Suppress item 15\n");
    writeFile(s.home + "/.qnrc", "Zentrix.Unsuppress item 12\n");
    // The collector's own directory is no source of global suppressions.
    writeFile(s.project + "/.qnrc", "Zentrix.Suppress item 14\n");
    ASSERT_EQ(chdir(s.project.c_str()), 0);
    std::string before = cwdNow();

    const List<ZxSuprRec*>& sets = ZxSuppress::globalSuppressions();
    EXPECT_EQ(cwdNow(), before) << "the working directory is put back";
    ASSERT_EQ(sets.length(), 4);
    EXPECT_STREQ(sets.at(0)->_file->header(), "    Hardwired suppressions");
    EXPECT_STREQ(sets.at(1)->_file->optionfile(), (s.install + "/lib.abi/abicc/.qnrc").c_str());
    EXPECT_STREQ(sets.at(2)->_file->optionfile(), (s.install + "/.qnrc").c_str());
    EXPECT_STREQ(sets.at(3)->_file->optionfile(), (s.home + "/.qnrc").c_str());

    ZxClient* c = analysis(1, s.root);
    EXPECT_EQ(suppressed(c, 12, 2), 0);
    EXPECT_EQ(suppressed(c, 15, 3), 1);
    EXPECT_EQ(suppressed(c, 14, 5), 0);
    delete c;

    // An installation in the home directory gives one set for the file;
    // without HOME only the hard-wired set is left.
    ZxSuppress::release();
    setenv("QUENTAR", s.home.c_str(), 1);
    ASSERT_EQ(ZxSuppress::globalSuppressions().length(), 3);
    EXPECT_STREQ(ZxSuppress::globalSuppressions().at(2)->_file->optionfile(), (s.home + "/.qnrc").c_str());
    ZxSuppress::release();
    unsetenv("HOME");
    EXPECT_EQ(ZxSuppress::globalSuppressions().length(), 1);
}

TEST(ZxSuppress, aProjectFileOverridesTheHomeFileForItsClientsAndIsShared)
{
    ZxScratch s("project");
    appGlobals();
    writeFile(s.home + "/.qnrc", "Zentrix.Suppress item 11\n");
    writeFile(s.project + "/.qnrc", "Zentrix.Unsuppress item 11 class Label\n");
    ZxClient* here = analysis(1, s.project);
    ZxClient* there = analysis(2, s.project);
    ZxClient* elsewhere = analysis(3, s.root);
    EXPECT_EQ(suppressed(here, 11, 4, "Label"), 0);
    EXPECT_EQ(suppressed(here, 11, 4, "Other"), 1);
    EXPECT_EQ(suppressed(elsewhere, 11, 4, "Label"), 1);
    there->ensureSuppressions();
    ASSERT_GE(here->_suppressions.length(), 1);
    EXPECT_EQ(here->_suppressions.first(), there->_suppressions.first()) << "one set per directory";

    // An edit made for one client is seen by the other once announced.
    there->append(violation(2, 23, 3, "Money"));
    ASSERT_EQ(there->nShown(), 1);
    here->_suppressions.first()->_file->addSuppression("suppress", "item 23");
    ZxSuppress::invalidateSuppression(*here->_suppressions.first());
    EXPECT_EQ(there->nShown(), 0);
    EXPECT_EQ(there->rebuildState(), 1) << "the analysis ran under other suppressions";
    EXPECT_EQ(elsewhere->rebuildState(), 1);
    delete here;
    delete there;
    delete elsewhere;
}

TEST(ZxSuppress, commandLineFilesAndLinesComeLastInArgumentOrder)
{
    ZxScratch s("cmdline");
    writeFile(s.project + "/.qnrc", "Zentrix.Suppress item 12\n");
    writeFile(s.project + "/extra.qnrc", "suppress item 15\nunsuppress item 12\n");
    ZxClient* c = analysis(1, s.project,
                           {"lumox-zx", "-Zoi", "suppress item 23", "-Zoiunsuppress item 23 class Keep", "g++",
                            "-Zop", "extra.qnrc", "-Zoi", "zentrix.suppress item 14", "-c", "a.cc"});
    c->ensureSuppressions();
    ASSERT_EQ(c->_suppressions.length(), 4);
    EXPECT_STREQ(c->_suppressions.at(0)->_file->optionfile(), (s.project + "/.qnrc").c_str());
    EXPECT_STREQ(c->_suppressions.at(1)->_file->header(), "    Command line suppressions");
    EXPECT_EQ(c->_suppressions.at(1)->nSuppressions(), 2) << "consecutive lines share a set";
    EXPECT_STREQ(c->_suppressions.at(2)->_file->optionfile(), (s.project + "/extra.qnrc").c_str());
    EXPECT_EQ(c->_suppressions.at(3)->nSuppressions(), 1);

    EXPECT_EQ(suppressed(c, 12, 2), 0) << "the named file overrides the project file";
    EXPECT_EQ(suppressed(c, 15, 3), 1);
    EXPECT_EQ(suppressed(c, 23, 3, "Money"), 1);
    EXPECT_EQ(suppressed(c, 23, 3, "Keep"), 0);
    EXPECT_EQ(suppressed(c, 14, 5), 1);
    delete c;
}

TEST(ZxErrHdr, recordsAreToldApartByTheirFirstBracket)
{
    ZxErrHdr cmd(3), env(3), cwd(3);
    std::string args = packed({"lumox-zx", "g++"});
    ASSERT_EQ(cmd.set("<command line><2>", args.data(), static_cast<int>(args.size())), 0);
    EXPECT_EQ(cmd.kind(), ZxErrHdr::CommandLine);
    EXPECT_EQ(cmd.count(), 2);
    EXPECT_EQ(cmd.message(), nullptr);
    env.set("<environment><0>", "", 0);
    EXPECT_EQ(env.kind(), ZxErrHdr::Environment);
    cwd.set("<cwd><1>", "/tmp", 5);
    EXPECT_EQ(cwd.kind(), ZxErrHdr::Cwd);

    ZxErrHdr v(3);
    const char* body = "a.cc:6:5: warning: x";
    v.set("<Zentrix><h><2024-01-02><10:11:12><42><0><EffC++12></src/a.cc><6><Label><2><Prefer "
          "initialization><Effective C++>",
          body, static_cast<int>(strlen(body) + 1));
    EXPECT_EQ(v.kind(), ZxErrHdr::Violation);
    ZxErrMsg* m = v.message();
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(m->_token, 3);
    EXPECT_EQ(m->item(), 12);
    EXPECT_EQ(m->severity(), 2);
    EXPECT_STREQ(m->_filepath.text(), "/src");
    EXPECT_STREQ(m->_class.text(), "Label");
    EXPECT_STREQ(m->originalBody(), body);
    EXPECT_EQ(std::string(m->id()).substr(0, 21), "   EffC++12   PV   La");
    EXPECT_NE(std::string(m->_body.text()).find("Effective C++ item 12: Prefer initialization\n"
                                                 "Severity: Possible violation (PV)\nClass: Label\n\n"),
              std::string::npos);
    char* again = m->inject();
    ZxErrMsg copy(3);
    copy.extract(again);
    EXPECT_STREQ(copy.id(), m->id());
    EXPECT_STREQ(copy._ruleSet.text(), "Effective C++");
    free(again);
    delete m;
}

// In the class, item text and rule set, '>' and '%' travel as %3E and %25;
// headers written before, with '?' for '>', read as they were.
TEST(ZxErrMsg, aTemplateClassTravelsEncodedAndOlderHeadersReadAsTheyWere)
{
    ZxErrMsg m(3);
    char header[] = "<Zentrix><h><d><t><42><0><EffC++12></src/a.cc><6><Holder<std::pair<int, int%3E %3E><2><"
                    "50%25 of p-%3Ex><Effective C++>";
    m.extract(header);
    EXPECT_STREQ(m._class.text(), "Holder<std::pair<int, int> >");
    EXPECT_STREQ(m._itemText.text(), "50% of p->x");
    EXPECT_STREQ(SuprRec(&m)._classname, "Holder<std::pair<int, int> >");
    // An option line's values end at blanks: '?' stands for one.
    Suppression pattern, any;
    ASSERT_EQ(pattern.parse("item 12 class Holder<std::pair<int,?int>?>"), 0);
    ASSERT_EQ(any.parse("class Holder<*>"), 0);
    EXPECT_TRUE(pattern == SuprRec(&m));
    EXPECT_TRUE(any == SuprRec(&m));
    char* again = m.inject();
    ASSERT_NE(again, nullptr);
    EXPECT_NE(std::string(again).find("><Holder<std::pair<int, int%3E %3E><2><50%25 of p-%3Ex><"), std::string::npos)
        << again;
    ZxErrMsg copy(3);
    copy.extract(again);
    free(again);
    EXPECT_STREQ(copy._class.text(), m._class.text());
    EXPECT_STREQ(copy.id(), m.id());

    ZxErrMsg old(3);
    char before[] = "<Zentrix><h><d><t><42><0><EffC++12></src/a.cc><6><Holder<int?><2><100% sure><Effective C++>";
    old.extract(before);
    EXPECT_STREQ(old._class.text(), "Holder<int?");
    EXPECT_STREQ(old._itemText.text(), "100% sure");
    EXPECT_STREQ(old._ruleSet.text(), "Effective C++");
}

#include <gtest/gtest.h>

#include <X11/Intrinsic.h>
#include <Xm/Xm.h>

#include <string>
#include <vector>

#include "app/records/ConxnMsg.h"
#include "app/messages/MsgArea.h"
#include "app/suppressions/SuprFile.h"
#include "app/supreditor/SuprHeaders.h"
#include "app/supreditor/SuprWinBtn.h"
#include "app/supreditor/SuprWindow.h"
#include "app/suppressions/Suppression.h"
#include "app/sessions/ZxClient.h"
#include "app/records/ZxErrMsg.h"
#include "app/sessions/ZxSuppress.h"
#include "app/suppressions/ZxSuprRec.h"
#include "app/testsupport/AppTestEnv.h"
#include "app/testsupport/ZxTestEnv.h"
#include "tests/support/TestSupport.h"

using lumox_test::readFile;
using lumox_test::writeFile;

namespace {

// The editor on a client whose home file holds two entries and whose
// project file one: rows 0 hardwired header, 1 its entry, then the
// installation sets, the home set and the project set.
class SuprEditor : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(appTestApp(), nullptr);
        _scratch.reset(new ZxScratch(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        writeFile(_scratch->home + "/.qnrc", "Zentrix.Suppress item 12\nZentrix.Unsuppress item 14 type sv\n");
        writeFile(_scratch->project + "/.qnrc", "Zentrix.Suppress class Label\n");
        ConxnMsg* signOn = new ConxnMsg(77);
        char header[] = "<Zentrix><1><shapes.cc><0><host><now>";
        signOn->extract(header);
        _client = new ZxClient(signOn);
        std::string dir = _scratch->project;
        _client->setCwd(&dir[0]);
        _msg = new ZxErrMsg(77);
        char h[] = "<Zentrix><host><d><t><1><0><EffC++23></p/shapes.cc><52><Point><3><title><Effective C++>";
        _msg->extract(h);
        // Signed on and selected in the main window, as Suppress finds it:
        // edits make the main window announce its selection again.
        theMessageContainer->clientSignOn(_client);
        theMessageContainer->newMessage(77, _msg);
        theMessageContainer->headers().cursor().locate(_msg);
        SuprWindow::suppress(_client, _msg);
        ASSERT_NE(SuprWindow::instance(), nullptr);
        lumox_test::runLoopFor(appTestContext(), 50);
    }
    void TearDown() override
    {
        SuprWindow::changeContext(nullptr, nullptr);
        theMessageContainer->headers().cursor().reset();
        theMessageContainer->countRemoved(_client->nShown());
        theMessageContainer->removeClient(_client);
        delete _client;
        _scratch.reset();
    }

    SuprHeaders& list() { return SuprWindow::instance()->viewer(); }
    int rowOf(const std::string& text)
    {
        for (int r = 0; r < list().cursor().rows(); ++r)
            if (list().rowText(r).find(text) != std::string::npos)
                return r;
        return -1;
    }
    // Clicks the character column `col` of `row`: first to make it the
    // cursor's row, then on the field.
    int clickField(int row, int col)
    {
        list().select(row);
        list().select(row);
        int y = (row - list().view()._y) * list().vPixels() + 1;
        return list().activate(col * list().hPixels() + 1, y);
    }
    int suppressedNow() { return _client->isSuppressed(_msg); }

    std::unique_ptr<ZxScratch> _scratch;
    ZxClient* _client = nullptr;
    ZxErrMsg* _msg = nullptr;
};

}  // namespace

TEST_F(SuprEditor, oneRowPerSetAndEntryWithTheCursorOnTheLastRow)
{
    Widget shell = SuprWindow::instance()->baseWidget();
    char* title = nullptr;
    XtVaGetValues(shell, XmNtitle, &title, nullptr);
    EXPECT_STREQ(title, "Zentrix Suppressions");
    EXPECT_EQ(list().rowText(0), "    Hardwired suppressions");
    EXPECT_EQ(list().rowText(1), "     -   *      I      *                           *");
    int home = rowOf("Suppressions from: " + _scratch->home + "/.qnrc");
    ASSERT_GT(home, 1);
    EXPECT_EQ(list().rowText(home + 1), "     o   12     *      *                           *");
    EXPECT_EQ(list().rowText(home + 2), "     o   14     SV     *                           *");
    int project = rowOf(_scratch->project + "/.qnrc");
    EXPECT_EQ(project, home + 3);
    EXPECT_EQ(list().rowText(project + 1), "     o   *      *      Label                       *");
    EXPECT_EQ(list().cursor()._pos, project + 1);
    EXPECT_EQ(list().cursor().rows(), project + 2);
    EXPECT_EQ(list().rowText(project + 2), "");
    EXPECT_EQ(list().context(), _msg);
}

TEST_F(SuprEditor, entriesMoveAcrossSetsAndTheirOrderDecides)
{
    int project = rowOf(_scratch->project + "/.qnrc");
    int home = rowOf(_scratch->home + "/.qnrc");
    ASSERT_EQ(list().select(project + 1), 0);
    ASSERT_EQ(list().create(), 0) << "new after the cursor's entry";
    EXPECT_EQ(list().rowText(project + 2), "     o   23     V      Point                       /p/shapes.cc");
    EXPECT_EQ(suppressedNow(), 1);

    // The new entry up and out of the project set: it ends the home set,
    // where the home file's later unsuppress lines cannot outvote it.
    ASSERT_EQ(list().up(), 0);
    ASSERT_EQ(list().up(), 0);
    EXPECT_EQ(list().cursor()._pos, project);
    EXPECT_EQ(list().cursor().set()->_file->optionfile(), std::string(_scratch->home + "/.qnrc"));
    EXPECT_EQ(list().rowText(project + 1), "    Suppressions from: " + _scratch->project + "/.qnrc");
    ASSERT_EQ(list().up(), 0);
    ASSERT_EQ(list().up(), 0);
    EXPECT_EQ(list().cursor()._pos, home + 1) << "first in the home set";
    EXPECT_EQ(suppressedNow(), 1);

    // An unsuppress entry at the end of the project set outvotes it.
    project = rowOf(_scratch->project + "/.qnrc");
    list().select(project + 1);
    ASSERT_EQ(list().create(), 0);
    ASSERT_EQ(clickField(project + 2, 1), 0) << "the mark column toggles suppress";
    EXPECT_EQ(list().cursor()._supr->_type, 0);
    EXPECT_EQ(suppressedNow(), 0);
    ASSERT_EQ(list().down(), -1) << "nothing follows the last set";

    // With the cursor on a header, new puts the entry first; del does nothing.
    list().select(home);
    EXPECT_EQ(list().del(), -1);
    ASSERT_EQ(list().create(), 0);
    EXPECT_EQ(list().cursor()._index, 1);
    ASSERT_EQ(list().del(), 0);
    EXPECT_EQ(list().cursor()._pos, home);
}

TEST_F(SuprEditor, fieldsAreEditedThroughTheirSelectors)
{
    int project = rowOf(_scratch->project + "/.qnrc");
    int row = project + 1;
    // A click on another row than the cursor's only selects it.
    list().select(row);
    EXPECT_EQ(list().activate(10 * list().hPixels(), (row - 1 - list().view()._y) * list().vPixels() + 1), -1);
    EXPECT_EQ(list().editing(), 0);

    ASSERT_EQ(clickField(row, 10), 0);
    EXPECT_EQ(list().editing(), 1);
    EXPECT_TRUE(list().itemSelector().posted());
    // The menu is really on the screen, not only marked as posted.
    EXPECT_TRUE(XtIsManaged(list().itemSelector().baseWidget()));
    for (ListIterator<SuprWinBtn*> i(list().buttons()); i.valid(); i.next())
        EXPECT_FALSE(i.current()->active()) << i.current()->name();
    EXPECT_EQ(list().next(), -1) << "the cursor stays while a field is edited";
    SuprChoiceBtn* item15 = nullptr;
    for (ListIterator<SuprChoiceBtn*> i(list().itemSelector().choices()); i.valid(); i.next())
        if (i.current()->value() == 15)
            item15 = i.current();
    ASSERT_NE(item15, nullptr);
    item15->triggered();
    EXPECT_EQ(list().editing(), 0);
    EXPECT_FALSE(list().itemSelector().posted());
    EXPECT_EQ(list().cursor()._supr->_tag, 15);
    EXPECT_EQ(suppressedNow(), 0);

    ASSERT_EQ(clickField(row, 17), 0);
    EXPECT_TRUE(list().severitySelector().posted());
    list().severitySelector().choices().at(3)->triggered();
    EXPECT_EQ(list().cursor()._supr->_severity, 3);

    Dimension before = 0, after = 0;
    XtVaGetValues(list().drawingArea(), XmNheight, &before, nullptr);
    ASSERT_EQ(clickField(row, 30), 0);
    ASSERT_TRUE(list().classSelector().isOpen());
    EXPECT_STREQ(list().classSelector().text(), "Label");
    lumox_test::runLoopFor(appTestContext(), 50);
    XtVaGetValues(list().drawingArea(), XmNheight, &after, nullptr);
    EXPECT_EQ(after, before) << "an open text field leaves the list its size";
    list().classSelector().text("Po*");
    list().classSelector().triggered();
    EXPECT_STREQ(list().cursor()._supr->_classname, "Po*");
    EXPECT_EQ(suppressedNow(), 0) << "item 15 does not cover the item 23 violation";
    list().cursor()._supr->_tag = 23;
    ZxSuppress::notifyClients();
    EXPECT_EQ(suppressedNow(), 1);

    ASSERT_EQ(clickField(row, 60), 0);
    ASSERT_TRUE(list().fileSelector().isOpen());
    list().fileSelector().text("");
    list().fileSelector().triggered();
    EXPECT_EQ(list().cursor()._supr->_filename, nullptr) << "an empty pattern means any file";

    // Persistence toggles, except for an entry no file can keep.
    ASSERT_EQ(clickField(row, 5), 0);
    EXPECT_EQ(list().cursor()._supr->_transient, 1);
    EXPECT_EQ(clickField(1, 5), -1);
    EXPECT_EQ(list().editing(), 0);

    // Escape in a text field cancels the edit.
    ASSERT_EQ(clickField(row, 30), 0);
    list().cancelEdit();
    EXPECT_FALSE(list().classSelector().isOpen());
    EXPECT_EQ(list().editing(), 0);
    EXPECT_STREQ(list().cursor()._supr->_classname, "Po*");
    lumox_test::runLoopFor(appTestContext(), 50);
}

TEST_F(SuprEditor, saveWritesPersistentEntriesOfEveryWritableSet)
{
    int project = rowOf(_scratch->project + "/.qnrc");
    list().select(project);
    ASSERT_EQ(list().create(), 0);
    ASSERT_EQ(list().save(), 0);
    EXPECT_EQ(readFile(_scratch->project + "/.qnrc"),
              "  Zentrix.Suppress item 23 type V class Point file /p/shapes.cc\n"
              "  Zentrix.Suppress class Label\n");
    EXPECT_EQ(readFile(_scratch->home + "/.qnrc"),
              "  Zentrix.Suppress item 12 class *\n  Zentrix.Unsuppress item 14 type SV class *\n");
}

TEST_F(SuprEditor, theEditorFollowsTheSelectionAndForgetsAClientThatGoes)
{
    int rows = list().cursor().rows();
    SuprWindow::changeContext(nullptr, nullptr);
    EXPECT_EQ(list().client(), nullptr);
    EXPECT_EQ(list().cursor().rows(), rows - 2) << "the project set goes with its client";
    SuprWindow::changeContext(_client, _msg);
    EXPECT_EQ(list().cursor().rows(), rows);
    SuprWindow::clientMoribund(*_client);
    EXPECT_EQ(list().client(), nullptr);
    EXPECT_EQ(list().context(), nullptr);
}

TEST_F(SuprEditor, aProgramRunInHomeShowsTheHomeFileOnceAndSavesTheEditsInIt)
{
    std::string dir = _scratch->home;
    _client->setCwd(&dir[0]);
    SuprWindow::changeContext(_client, _msg);
    const std::string home = "Suppressions from: " + _scratch->home + "/.qnrc";
    int row = rowOf(home);
    ASSERT_GT(row, 1);
    int shown = 0;
    for (int r = 0; r < list().cursor().rows(); ++r)
        shown += list().rowText(r).find(home) != std::string::npos;
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(row + 3, list().cursor().rows()) << "last, as the project file";

    list().select(row + 2);
    ASSERT_EQ(list().create(), 0);
    EXPECT_EQ(suppressedNow(), 1);
    ASSERT_EQ(list().save(), 0);
    ASSERT_EQ(list().save(), 0);
    EXPECT_EQ(readFile(_scratch->home + "/.qnrc"), "  Zentrix.Suppress item 12 class *\n"
                                                   "  Zentrix.Unsuppress item 14 type SV class *\n"
                                                   "  Zentrix.Suppress item 23 type V class Point file /p/shapes.cc\n");
}

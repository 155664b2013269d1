#include <gtest/gtest.h>

#include <Xm/Xm.h>

#include <cstring>

#include "app/records/ConxnMsg.h"
#include "app/records/ErrorMsg.h"
#include "app/sessions/LmxClient.h"
#include "app/shell/LmxStsBar.h"
#include "app/shell/LumoxWindow.h"
#include "app/messages/MsgArea.h"
#include "app/testsupport/AppTestEnv.h"
#include "tests/support/TestSupport.h"

namespace {

// A client of the message area made as the network side makes one.
struct TestClient {
    long token;
    LmxClient* client;
    explicit TestClient(long t) : token(t)
    {
        ConxnMsg* signOn = new ConxnMsg(t);
        char header[] = "<Runtime><4242><prog><1000><host><12:00:00>";
        signOn->extract(header);
        client = new LmxClient(signOn);
        theMessageContainer->clientSignOn(client);
    }
    void send(const char* category)
    {
        ErrorMsg* m = new ErrorMsg(token);
        std::string header = std::string("<rt><host><d><12:00:01><4242><0><") + category + "><src/a.c><7>";
        m->extract(&header[0]);
        m->body("body text", 10);
        theMessageContainer->newMessage(token, m);
    }
};

// Removes every client but the trash can, as a user deleting them would.
void clearClients()
{
    MsgArea* area = theMessageContainer;
    while (area->clients().length() > 1) {
        NetClient* c = area->clients().last();
        area->clientSignOff(c->_id);
        area->headers().cursor().locate(c->_signature);
        area->del();
    }
}

Widget area() { return theMessageContainer->headers().drawingArea(); }

// The pane's pixels as they are on the screen now.
struct Snapshot {
    XImage* img;
    Snapshot()
    {
        lumox_test::runLoopFor(appTestContext(), 150);
        Dimension w, h;
        XtVaGetValues(area(), XmNwidth, &w, XmNheight, &h, nullptr);
        img = XGetImage(XtDisplay(area()), XtWindow(area()), 0, 0, w, h, AllPlanes, ZPixmap);
    }
    ~Snapshot() { XDestroyImage(img); }
    Pixel at(int x, int y) const { return XGetPixel(img, x, y) & 0xffffff; }
};

Widget button(const char* path) { return XtNameToWidget(appTestWindow()->baseWidget(), path); }

}  // namespace

class MsgAreaWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(appTestWindow(), nullptr);
        clearClients();
    }
    void TearDown() override { clearClients(); }
    MsgHeaders& headers() { return theMessageContainer->headers(); }
};

TEST_F(MsgAreaWindow, buttonsFollowSignOnDeleteAndSignOff)
{
    Widget next = button("*navigationGroup_work.vbutton.nextBtn.nextBtn_button");
    Widget build = button("*actionGroup_work.build.build_button");
    ASSERT_TRUE(next && build);
    EXPECT_FALSE(XtIsSensitive(next));
    TestClient a(70001);
    a.send("READ_OVERFLOW");
    EXPECT_TRUE(XtIsSensitive(next));

    // A connected client cannot be deleted.
    headers().cursor().locate(a.client->_signature);
    EXPECT_EQ(theMessageContainer->del(), -1);
    EXPECT_EQ(theStatusBar->shownText(), std::string("Cannot delete active sessions!"));
    headers().newSelection();
    EXPECT_TRUE(XtIsSensitive(build));  // a connected client can be rebuilt

    theMessageContainer->clientSignOff(70001);
    EXPECT_FALSE(XtIsSensitive(build));
    EXPECT_EQ(theMessageContainer->del(), 1);
    EXPECT_EQ(theMessageContainer->clients().length(), 1);
    EXPECT_FALSE(XtIsSensitive(next));
    EXPECT_EQ(theMessageContainer->nMessages(), 0);
}

TEST_F(MsgAreaWindow, theListDrawsHeaderAndSelectionBackgroundsAndIcons)
{
    TestClient a(70002);
    a.send("READ_OVERFLOW");
    a.send("LEAK_SCOPE");
    headers().cursor().locate(2);  // the first message: trash 0, client 1
    headers().newSelection();
    headers().render();
    int vp = headers().vPixels();
    Snapshot shot;
    // Line 1 is the client's header, line 2 the selected message, line 3 plain.
    EXPECT_EQ(shot.at(300, 1 * vp + vp / 2), headers().clientBg() & 0xffffff);
    EXPECT_EQ(shot.at(300, 2 * vp + vp / 2), headers().selectedMessageBg() & 0xffffff);
    EXPECT_EQ(shot.at(300, 3 * vp + vp / 2), 0xffffffu);
    // Icons: the connected client's green mark, the bug's red and the leak's blue.
    auto dominant = [&](int line) {
        int r = 0, g = 0, b = 0;
        for (int y = 4; y < 18; ++y)
            for (int x = 12; x < 26; ++x) {
                Pixel p = shot.at(x, line * vp + y);
                int pr = p >> 16, pg = (p >> 8) & 0xff, pb = p & 0xff;
                r += pr > pg + 40 && pr > pb + 40;
                g += pg > pr + 40 && pg > pb + 20;
                b += pb > pr + 60 && pb > pg + 20;
            }
        return r > g && r > b ? 'r' : g > b ? 'g' : 'b';
    };
    EXPECT_EQ(dominant(1), 'g');
    EXPECT_EQ(dominant(2), 'r');
    EXPECT_EQ(dominant(3), 'b');
}

TEST_F(MsgAreaWindow, unknownClientsGoToTheTrashCanAndSuppressedMessagesAreNotCounted)
{
    TestClient a(70003);
    int before = theMessageContainer->nMessages();
    testing::internal::CaptureStderr();
    ErrorMsg* stray = new ErrorMsg(99);
    theMessageContainer->newMessage(99, stray);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              " **** MsgArea::newMessage(): message from unknown client (id=99)\n");
    EXPECT_TRUE(theMessageContainer->trashcan()->_messages.contains(stray));
    EXPECT_EQ(theMessageContainer->nMessages(), before);

    LmxClient::_filter.suppress(MsgSuppression::ErrorCategory, const_cast<char*>("QUIET_CAT"));
    int lines = headers().canvasHeight();
    a.send("QUIET_CAT");
    EXPECT_EQ(theMessageContainer->nMessages(), before);
    EXPECT_EQ(a.client->nMessages(), 1) << "kept by its client";
    EXPECT_EQ(headers().canvasHeight(), lines);
    a.send("LOUD_CAT");
    EXPECT_EQ(theMessageContainer->nMessages(), before + 1);
    EXPECT_EQ(theStatusBar->messages(), before + 1);
    EXPECT_EQ(headers().canvasHeight(), lines + 1);

    // A process id used again reaches the session that signed on last.
    theMessageContainer->clientSignOff(70003);
    TestClient again(70003);
    again.send("LOUD_CAT");
    EXPECT_EQ(a.client->nMessages(), 2);
    EXPECT_EQ(again.client->nMessages(), 1);

    // Deleting the trash can's line empties it; the trash can stays and the
    // body shows nothing.
    headers().cursor().reset();
    headers().newSelection();
    EXPECT_EQ(theMessageContainer->body().lines().length(), 0);
    theMessageContainer->del();
    EXPECT_TRUE(theMessageContainer->trashcan()->_messages.empty());
    EXPECT_EQ(theMessageContainer->clients().first(), theMessageContainer->trashcan());
}

TEST_F(MsgAreaWindow, suppressingAMessageHidesItsCategoryEverywhere)
{
    TestClient a(70004), b(70005);
    int before = theMessageContainer->nMessages();
    a.send("NOISY_CAT");
    a.send("OTHER_CAT");
    b.send("NOISY_CAT");
    ASSERT_EQ(theMessageContainer->nMessages(), before + 3);
    headers().cursor().locate(2);  // a's NOISY_CAT message
    ASSERT_STREQ(headers().cursor().message()->_errorCategory.text(), "NOISY_CAT");
    theMessageContainer->suppress();
    EXPECT_EQ(theMessageContainer->nMessages(), before + 1);
    EXPECT_EQ(a.client->nShown(), 1);
    EXPECT_EQ(b.client->nShown(), 0);
    // The selection stepped off the hidden line.
    EXPECT_NE(headers().cursor()._msg, nullptr);
    EXPECT_TRUE(!headers().cursor().message() || headers().cursor().message()->_suppressed == No);
}

TEST_F(MsgAreaWindow, loadAsksOnceAndSaveWithoutANameAsksForOne)
{
    TestClient a(70007);
    a.send("ANY_CAT");
    EXPECT_EQ(theMessageContainer->load(), 0);
    Widget dialog = theMessageContainer->dialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(theMessageContainer->soliciting(), MsgArea::SolicitingLoad);
    theMessageContainer->load();
    EXPECT_EQ(theMessageContainer->dialog(), dialog);
    // Save-as while the load dialog is open does not turn it into a save dialog.
    theMessageContainer->saveAs();
    EXPECT_EQ(theMessageContainer->soliciting(), MsgArea::SolicitingLoad);
    XtCallCallbacks(dialog, XmNcancelCallback, nullptr);
    EXPECT_EQ(theMessageContainer->dialog(), nullptr);
    EXPECT_EQ(theMessageContainer->soliciting(), MsgArea::SolicitingNothing);

    ASSERT_EQ(theMessageContainer->saveFile(), nullptr);
    theMessageContainer->save();
    EXPECT_NE(theMessageContainer->dialog(), nullptr);
    EXPECT_EQ(theMessageContainer->soliciting(), MsgArea::SolicitingSave);
    EXPECT_EQ(theStatusBar->shownText(), std::string("Saving error report ..."));
    XtCallCallbacks(theMessageContainer->dialog(), XmNcancelCallback, nullptr);
}

TEST_F(MsgAreaWindow, aLongSignOnLineWidensTheList)
{
    int before = headers().canvasWidth();
    ConxnMsg* signOn = new ConxnMsg(70008);
    std::string header = "<Runtime><4242><" + std::string(150, 'p') + "><1000><host><12:00:00>";
    signOn->extract(&header[0]);
    theMessageContainer->clientSignOn(new LmxClient(signOn));
    EXPECT_EQ(headers().canvasWidth(), static_cast<int>(strlen(signOn->id())) + 6);
    EXPECT_GT(headers().canvasWidth(), before);
}

TEST_F(MsgAreaWindow, actionsOnAWidgetThatIsNotAListSayWhichRoutineFoundNoClient)
{
    Widget stranger = button("*navigationGroup_work.delBtn.delBtn_button");
    ASSERT_NE(stranger, nullptr);
    testing::internal::CaptureStderr();
    XtCallActionProc(stranger, const_cast<char*>("next"), nullptr, nullptr, 0);
    XtCallActionProc(stranger, const_cast<char*>("click"), nullptr, nullptr, 0);
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find(" **** MsgHeaders::nextKey_cbk() : unknown client!"), std::string::npos) << err;
    EXPECT_NE(err.find(" **** MsgHeaders::click1_cbk() : unknown client!"), std::string::npos) << err;
}

#include "app/shell/LumoxWindow.h"

#include <Xm/Form.h>
#include <Xm/Frame.h>
#include <Xm/Xm.h>

#include "app/messages/Icons.h"
#include "app/shell/LmxStsBar.h"
#include "app/messages/MsgArea.h"
#include "app/messages/TorvaneBtn.h"
#include "qip/Common/HelpButtons.h"
#include "qip/Components/qipHelpMenuPane.h"
#include "qip/Components/qipMenuPane.h"
#include "qip/Components/qipToolGroup.h"
#include "qip/Components/qipVStack.h"

LumoxWindow::LumoxWindow(const char* name) : qipWindow(name), _menubar("menu"), _toolbar("toolbar") {}

// The cells go before the widgets they made; their destructors unhook them.
LumoxWindow::~LumoxWindow() { _cells.clear(); }

void LumoxWindow::initialize()
{
    qipWindow::initialize();
    catchClose();
}

void LumoxWindow::closeRequested() { requestExit(); }

Widget LumoxWindow::createWorkArea(Widget parent)
{
    _clientArea = parent;
    buildMenus();

    Widget frame = XtVaCreateManagedWidget("outerframe", xmFrameWidgetClass, parent, XmNmarginWidth, 5,
                                           XmNmarginHeight, 5, XmNshadowType, XmSHADOW_OUT, nullptr);
    Widget form = XtVaCreateManagedWidget("workarea", xmFormWidgetClass, frame, nullptr);
    _clientArea = form;

    buildToolBar();
    theMessageContainer->install(this);
    theStatusBar->install(this);

    XtVaSetValues(_toolbar.baseWidget(), XmNtopAttachment, XmATTACH_FORM, nullptr);
    XtVaSetValues(theMessageContainer->baseWidget(), XmNtopAttachment, XmATTACH_WIDGET, XmNtopWidget,
                  _toolbar.baseWidget(), XmNleftAttachment, XmATTACH_FORM, XmNrightAttachment, XmATTACH_FORM,
                  XmNbottomAttachment, XmATTACH_WIDGET, XmNbottomWidget, theStatusBar->baseWidget(), nullptr);
    XtVaSetValues(theStatusBar->baseWidget(), XmNtopAttachment, XmATTACH_NONE, XmNbottomAttachment,
                  XmATTACH_FORM, XmNleftAttachment, XmATTACH_FORM, XmNrightAttachment, XmATTACH_FORM, nullptr);
    return frame;
}

void LumoxWindow::buildMenus()
{
    qipMenuPane* file = keep(new qipMenuPane("File", 'F', "file"));
    file->addButton(keep(new LoadBtn()), 'L');
    file->addButton(keep(new SaveBtn()), 'S');
    file->addButton(keep(new SaveAsBtn()), 'A');
    file->addSeparator();
    file->addButton(keep(new ExitBtn("Exit")), 'x');

    qipMenuPane* messages = keep(new qipMenuPane("Messages", 'M', "messages"));
    messages->addButton(keep(new NextBtn("Next")), 'N');
    messages->addButton(keep(new PrevBtn("Prev")), 'P');
    messages->addSeparator();
    messages->addButton(keep(new DelBtn("Delete")), 'D');
    messages->addSeparator();
    messages->addButton(keep(new SuprBtn("Suppress")), 'p');
    messages->addSeparator();
    messages->addButton(keep(new SortBtn("Sort")), 'o');

    qipHelpMenuPane* help = keep(new qipHelpMenuPane("Help", 'H', "help"));
    help->addButton(keep(new HMenuBtn("overview", "Overview")), 'O');
    help->addSeparator();
    help->addButton(keep(new HMenuBtn("toolbar", "On toolbar")), 't');
    help->addButton(keep(new HMenuBtn("reports", "On reports")), 'r');
    help->addButton(keep(new HMenuBtn("messages", "On messages")), 'm');
    help->addSeparator();
    help->addButton(keep(new HMenuBtn("faq", "Obrint++ FAQ")), 'F');
    help->addSeparator();
    help->addButton(keep(new AboutBtn()), 'A');

    _menubar.addPane(file);
    _menubar.addPane(messages);
    _menubar.addPane(help);
    _menubar.install(this);
}

void LumoxWindow::buildToolBar()
{
    _toolbar.install(this);

    qipToolGroup* nav = keep(new qipToolGroup("navigationGroup"));
    NextBtn* next = keep(new NextBtn("Next", Icons::next(), Icons::nextDisabled()));
    PrevBtn* prev = keep(new PrevBtn("Prev", Icons::prev(), Icons::prevDisabled()));
    nav->addTool(keep(new qipVStack("v", next, prev)));
    nav->addTool(keep(new DelBtn("Delete", Icons::remove(), Icons::removeDisabled())));
    nav->addTool(keep(new SuprBtn("Suppress", Icons::suppress(), Icons::suppressDisabled())));

    qipToolGroup* action = keep(new qipToolGroup("actionGroup"));
    action->addTool(keep(new BuildBtn("Build", "Rebuild", Icons::build(), Icons::rebuild(), Icons::buildDisabled())));

    qipToolGroup* helpGroup = keep(new qipToolGroup("helpGroup"));
    helpGroup->addTool(keep(new HelpBtn(this, "Help", Icons::help(), Icons::helpDisabled())));
    helpGroup->addTool(keep(new ExitBtn("Exit", Icons::exit(), Icons::exitDisabled())));

    _toolbar.addGroup(nav);
    _toolbar.addGroup(action);
    _toolbar.addHelpGroup(helpGroup);
    // Every group's frame is as tall as the tallest, so the bar reads as one strip.
    for (qipVCell* g : {static_cast<qipVCell*>(nav), static_cast<qipVCell*>(action), static_cast<qipVCell*>(helpGroup)})
        XtVaSetValues(g->baseWidget(), XmNbottomAttachment, XmATTACH_FORM, nullptr);
}

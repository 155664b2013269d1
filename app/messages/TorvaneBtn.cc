#include "app/messages/TorvaneBtn.h"

#include "app/sessions/StatusView.h"
#include "app/network/NetManager.h"
#include "app/messages/MsgArea.h"
#include "qip/Common/HelpWindow.h"
#include "qip/Components/qipQuitCommand.h"
#include "qip/Components/qipToggleBtn_X.h"

void TorvaneBtn::helpRequested() const { HelpWindow::showHelpOn("toolbar"); }

LoadBtn::LoadBtn() : TorvaneBtn("loadBtn", "Load...") { theMessageContainer->registerBtn(this); }
void LoadBtn::triggered() { theMessageContainer->load(); }

SaveBtn::SaveBtn() : TorvaneBtn("saveBtn", "Save") { theMessageContainer->registerBtn(this); }
void SaveBtn::triggered() { theMessageContainer->save(); }

SaveAsBtn::SaveAsBtn() : TorvaneBtn("saveBtn", "SaveAs...") { theMessageContainer->registerBtn(this); }
void SaveAsBtn::triggered() { theMessageContainer->saveAs(); }

NextBtn::NextBtn(const char* label, char** icon, char** iconDisabled)
    : TorvaneBtn("nextBtn", label, icon, iconDisabled)
{
    theMessageContainer->registerBtn(this);
}
void NextBtn::triggered() { theMessageContainer->next(); }

PrevBtn::PrevBtn(const char* label, char** icon, char** iconDisabled)
    : TorvaneBtn("prevBtn", label, icon, iconDisabled)
{
    theMessageContainer->registerBtn(this);
}
void PrevBtn::triggered() { theMessageContainer->prev(); }

DelBtn::DelBtn(const char* label, char** icon, char** iconDisabled) : TorvaneBtn("delBtn", label, icon, iconDisabled)
{
    theMessageContainer->registerBtn(this);
}
void DelBtn::triggered() { theMessageContainer->del(); }

SuprBtn::SuprBtn(const char* label, char** icon, char** iconDisabled)
    : TorvaneBtn("suprBtn", label, icon, iconDisabled)
{
    theMessageContainer->registerBtn(this);
}
void SuprBtn::triggered() { theMessageContainer->suppress(); }

SortBtn::SortBtn(const char* label, char** icon, char** iconDisabled)
    : TorvaneBtn("sortBtn", label, icon, iconDisabled)
{
    theMessageContainer->registerBtn(this);
}
void SortBtn::triggered() { theMessageContainer->sort(); }

ExitBtn::ExitBtn(const char* label, char** icon, char** iconDisabled)
    : TorvaneBtn("exitBtn", label, icon, iconDisabled)
{
    theMessageContainer->registerBtn(this);
}

int openConnections() { return NetManager::liveConnections(); }

void requestExit()
{
    if (openConnections() == 0)
        theQuitCommand->execute();
    else
        StatusView::show("Cannot exit: there are active clients!");
}

void ExitBtn::triggered() { requestExit(); }

BuildBtn::BuildBtn(const char* label, const char* altLabel, char** icon, char** iconAlt, char** iconDisabled)
    : TorvaneBtn("build", label, icon, iconDisabled), _toggle(nullptr)
{
    if (iconAlt || altLabel)
        _toggle = makeToggle(iconAlt, altLabel ? altLabel : label);
    theMessageContainer->registerBtn(this);
}

void BuildBtn::triggered() { theMessageContainer->rebuild(); }

void BuildBtn::state(int s)
{
    if (!_toggle)
        return;
    if (s < 0)
        deactivate();
    else
        _toggle->state(s);
}

#pragma once

#include "qip/Components/qipTButton.h"

class SuprHeaders;

// A button of the suppression editor: pressing it runs one operation of the
// list it belongs to. The list owns its buttons and switches them on and off
// together; help for all of them is the "zx-supr" topic.
class SuprWinBtn : public qipTButton {
public:
    typedef int (SuprHeaders::*Method)();

    SuprWinBtn(SuprHeaders* owner, Method method, const char* name, const char* label, char** icon = nullptr,
               char** iconDisabled = nullptr);

    void triggered() override;
    void helpRequested() const override;
    const char* className() const override { return "SuprWinBtn"; }

private:
    SuprHeaders* _owner;
    Method _method;
};

class SuprNext : public SuprWinBtn {
public:
    explicit SuprNext(SuprHeaders* owner);
};

class SuprPrev : public SuprWinBtn {
public:
    explicit SuprPrev(SuprHeaders* owner);
};

class SuprDel : public SuprWinBtn {
public:
    explicit SuprDel(SuprHeaders* owner);
};

class SuprNew : public SuprWinBtn {
public:
    explicit SuprNew(SuprHeaders* owner);
};

class SuprDown : public SuprWinBtn {
public:
    explicit SuprDown(SuprHeaders* owner);
};

class SuprUp : public SuprWinBtn {
public:
    explicit SuprUp(SuprHeaders* owner);
};

class SuprSave : public SuprWinBtn {
public:
    explicit SuprSave(SuprHeaders* owner);
};

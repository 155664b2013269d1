#pragma once

#include "qip/Monitors/qipFdActivity.h"

// A descriptor sensor that watches for input.
class qipFdRead : public qipFdActivity {
public:
    ~qipFdRead() override {}
};

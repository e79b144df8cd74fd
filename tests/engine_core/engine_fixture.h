// A conversion with a freshly initialised engine state for each test, and the latest reported failure.
#pragma once

#include "engine_state.h"
#include "error_report.h"
#include "vkoMessageDll.h"

#include <gtest/gtest.h>

#include <string>

struct Reported {
    int code;
    std::string detail;
};

inline Reported lastReport()
{
    char detail[1024];
    int code = getLastErrorDetail(detail, sizeof detail);
    return {code, detail};
}

class EngineTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(engine::initEngine(state()), 0);
        updateErrorInfo(0, "", 1);
    }
    void TearDown() override { engine::releaseInputsAndOutputs(state()); }

    engine::Conversion& conversion() { return conversion_; }
    engine::EngineState& state() { return conversion_.state; }

private:
    engine::Conversion conversion_;
};

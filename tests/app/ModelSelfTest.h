#pragma once

// The developer modes that ask a model, run against a scripted one on the loopback address.

#include "DevRun.h"
#include "support/ScriptedModel.h"

#include <gtest/gtest.h>

namespace nolvea::test {

class ModelSelfTest : public ::testing::Test {
protected:
    void SetUp() override { configureModel("custom", model.server.url("/v1"), "modelo"); }

    // The text of every message the model was sent in its n-th request.
    QString sent(int n) const {
        QStringList texts;
        for (const JSONValue& m : model.messages(n))
            if (auto content = m["content"]) texts << content->asString().value_or("");
        return texts.join('\n');
    }

    ScriptedModel model;
};

} // namespace nolvea::test

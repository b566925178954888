// A fresh application object per test whose error boxes are captured instead
// of shown, and a plain form to put controls on.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "toolkit/Application.h"
#include "toolkit/Form.h"

struct CapturedBox {
    std::string caption;
    std::string text;
    bool operator==(const CapturedBox&) const = default;
};

inline std::ostream& operator<<(std::ostream& os, const CapturedBox& b)
{
    return os << "[" << b.caption << "] " << b.text;
}

class AppFixture : public testing::Test {
protected:
    AppFixture()
    {
        app.SetErrorBoxHook([this](const std::string& caption, const std::string& text) {
            boxes.push_back({caption, text});
        });
    }

    tk::Application app;
    std::vector<CapturedBox> boxes;
};

class PlainForm : public tk::Form {
public:
    explicit PlainForm(tk::Component* owner) : tk::Form(owner, "TkTestForm") {}
};

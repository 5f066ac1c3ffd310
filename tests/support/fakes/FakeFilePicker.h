#pragma once

#include "platform/FilePicker.h"

namespace nolvea::test {

// Answers every request with one chosen path (nothing: the person cancelled) and keeps the
// last request.
class FakeFilePicker final : public FilePicker {
public:
    explicit FakeFilePicker(std::optional<QString> choice)
        : m_choice(std::move(choice)) {}
    std::optional<QString> pickFile(const Request& r) override {
        seen = r;
        return m_choice;
    }
    Request seen;

private:
    std::optional<QString> m_choice;
};

} // namespace nolvea::test

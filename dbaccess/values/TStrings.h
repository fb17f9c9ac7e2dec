#pragma once

#include <string>
#include <vector>

// A list of strings that a visual list can stand behind; updates are
// bracketed so that such a list repaints once.
class TStrings {
public:
    virtual ~TStrings() = default;

    virtual void BeginUpdate() {}
    virtual void EndUpdate() {}
    virtual void Clear() = 0;
    virtual void Add(const std::string& text) = 0;
    virtual int Count() const = 0;
    virtual std::string Strings(int index) const = 0;
    virtual void SetStrings(int index, const std::string& text) = 0;

    // Case-insensitive search in the system code page; -1 when absent.
    int IndexOf(const std::string& text) const;
};

class TStringList : public TStrings {
public:
    TStringList() = default;
    TStringList(std::initializer_list<std::string> items) : items_(items) {}

    void Clear() override { items_.clear(); }
    void Add(const std::string& text) override { items_.push_back(text); }
    int Count() const override { return static_cast<int>(items_.size()); }
    std::string Strings(int index) const override {
        return items_.at(static_cast<std::size_t>(index));
    }
    void SetStrings(int index, const std::string& text) override {
        items_.at(static_cast<std::size_t>(index)) = text;
    }

    const std::vector<std::string>& items() const noexcept { return items_; }

private:
    std::vector<std::string> items_;
};

// Letter case of UTF-8 text: ASCII letters change, other characters stay.
std::string lowerCase(std::string text);
std::string upperCase(std::string text);
bool sameTextIgnoringCase(const std::string& a, const std::string& b);
// Text without blanks, tabs and line ends at either end.
std::string trimmed(const std::string& text);

#pragma once
// A multi-line edit holding lines of text.
#include <string>
#include <vector>

#include "gui/edit.h"

class TMemo : public TEdit {
public:
    explicit TMemo(TComponent* owner) : TEdit(owner) {}
    // The lines, each without its line break.
    std::vector<std::wstring> Lines() const;
    void SetLines(const std::vector<std::wstring>& lines);
    // Long lines wrap at the right edge (the default), or each line keeps one row.
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool on) { wordWrap_ = on; }

protected:
    void CreateParams(TCreateParams& params) override;

private:
    bool wordWrap_ = true;
};

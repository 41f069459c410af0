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

protected:
    void CreateParams(TCreateParams& params) override;
};

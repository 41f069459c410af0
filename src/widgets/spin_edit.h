#pragma once
// A one-line numeric edit with up and down buttons at its right edge. The number lives only in the
// text; limits apply only when MinValue and MaxValue differ.
#include <cstdint>

#include "gui/edit.h"
#include "widgets/spin_button.h"

class TSpinEdit : public TEdit {
public:
    explicit TSpinEdit(TComponent* owner);

    // The text as a number; MinValue when the text is not one.
    std::int32_t Value() const;
    void SetValue(std::int32_t value);
    std::int32_t MinValue() const { return minValue_; }
    void SetMinValue(std::int32_t v) { minValue_ = v; }
    std::int32_t MaxValue() const { return maxValue_; }
    void SetMaxValue(std::int32_t v) { maxValue_ = v; }
    std::int32_t Increment() const { return increment_; }
    void SetIncrement(std::int32_t v) { increment_ = v; }
    bool EditorEnabled() const { return editorEnabled_; }
    void SetEditorEnabled(bool on) { editorEnabled_ = on; }
    bool AutoSelect() const { return autoSelect_; }
    void SetAutoSelect(bool on) { autoSelect_ = on; }
    TSpinButton& SpinButtons() { return button_; }

    std::int32_t ClampValue(std::int32_t v) const;
    virtual void StepUp();
    virtual void StepDown();
    // The least height (device pixels) that shows the font whole.
    int MinimumHeight();
    bool IsAcceptedChar(char ch) const;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void ApplyBounds() override;
    void FontChanged() override;
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    void Layout();
    void FitTextArea();

    TSpinButton button_{this};
    std::int32_t minValue_ = 0;
    std::int32_t maxValue_ = 0;
    std::int32_t increment_ = 1;
    bool editorEnabled_ = true;
    bool autoSelect_ = true;
    bool inLayout_ = false;
};

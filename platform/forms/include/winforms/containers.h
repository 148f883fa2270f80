// Windowed controls drawn by the library that hold other controls: the panel with its bevels and
// caption, and the radio group with its framed caption and buttons in columns.
#ifndef WINFORMS_CONTAINERS_H
#define WINFORMS_CONTAINERS_H

#include <string>
#include <vector>

#include "winforms/std_controls.h"

namespace winforms {

enum class BevelCut : uint8_t { None, Lowered, Raised };

class WINFORMS_API Panel : public WinControl {
public:
    explicit Panel(Component* owner);
    BevelCut BevelOuter() const { return bevelOuter_; }
    void SetBevelOuter(BevelCut cut);
    BevelCut BevelInner() const { return bevelInner_; }
    void SetBevelInner(BevelCut cut);
    Alignment GetAlignment() const { return alignment_; }
    void SetAlignment(Alignment alignment);

protected:
    void PaintWindow(HDC dc) override;
    RECT AlignArea() const override;

private:
    int BevelWidth() const;
    BevelCut bevelOuter_ = BevelCut::Raised;
    BevelCut bevelInner_ = BevelCut::None;
    Alignment alignment_ = Alignment::Center;
};

class WINFORMS_API RadioGroup : public WinControl {
public:
    explicit RadioGroup(Component* owner);
    // One radio button per item, laid out down the columns.
    void SetItems(const std::vector<std::string>& items);
    size_t Count() const { return buttons_.size(); }
    RadioButton& Buttons(size_t index) const { return *buttons_.at(index); }
    int ItemIndex() const { return itemIndex_; }
    void SetItemIndex(int index);
    int Columns() const { return columns_; }
    void SetColumns(int columns);

protected:
    void PaintWindow(HDC dc) override;
    void Resized() override { Arrange(); }
    void FontChanged() override;

private:
    void Arrange();
    void Chosen(size_t index);
    std::vector<RadioButton*> buttons_;
    int itemIndex_ = -1;
    int columns_ = 1;
};

}  // namespace winforms

#endif

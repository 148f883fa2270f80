// Tables for the table tests: stored forms written by the document writer's 'table' command from
// small JSON descriptions, and a cell editor that keeps stored records as the stand-in does while
// counting what it is asked and painting its box in a colour of its own.
#ifndef LECT32_TESTS_TABLE_TEST_SUPPORT_H
#define LECT32_TESTS_TABLE_TEST_SUPPORT_H

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "page/table_object.h"
#include "page_test_support.h"
#include "winplat/draw.h"
#include "winplat/owners.h"

namespace table_test {

using Bytes = std::vector<uint8_t>;

// The writer's 'table' command over several descriptions in one run; an entry stays empty when
// the writer failed.
inline std::vector<Bytes> writtenTables(const std::vector<std::string>& descriptions) {
    const auto folder = std::filesystem::temp_directory_path() /
                        ("lect32_tables_" + std::to_string(std::random_device{}()));
    std::filesystem::create_directories(folder);
    std::string command = page_test::writer() + " table";
    for (size_t i = 0; i < descriptions.size(); ++i) {
        const auto description = folder / (std::to_string(i) + ".json");
        std::ofstream(description) << descriptions[i];
        command += " " + tool_runner::quoted(description) + " " + tool_runner::quoted(folder / (std::to_string(i) + ".bin"));
    }
    std::vector<Bytes> tables(descriptions.size());
    if (tool_runner::run(command)) {
        for (size_t i = 0; i < descriptions.size(); ++i) tables[i] = vazazi_test::fileBytes(folder / (std::to_string(i) + ".bin"));
    }
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
    return tables;
}

// {"table": TABLE} with every cell stored as the reader stores it (all sections).
inline std::string described(const std::string& rows, const std::string& columns, const std::string& cells,
                             const std::string& more = "") {
    return R"({"table": {"rows": )" + rows + R"(, "columns": )" + columns + R"(, "sections": 255, "cells": [)" + cells +
           "]}" + (more.empty() ? "" : ", " + more) + "}";
}

inline bool readTable(lect32::TableObject& table, const Bytes& stored) {
    winplat::ByteReader in(stored);
    return table.Read(in);
}

// What the editor was asked.
struct EditorLog {
    std::map<Bytes, int> loads;  // by record
    int reflows = 0;
    std::vector<std::pair<int, int>> zooms;
    std::vector<RECT> painted;
    int changeGrade = -1;  // the editor reports changes of grades up to this
    Bytes replacement;     // what it writes back when it has changes
};

class CountingEditor final : public lect32::TableCellEditor {
public:
    static constexpr COLORREF kText = RGB(10, 200, 30);

    explicit CountingEditor(EditorLog& log) : log_(log) {}

    void SetOwnerWindow(HWND window) override { stored_.SetOwnerWindow(window); }
    void Load(std::span<const uint8_t> record) override {
        ++log_.loads[Bytes(record.begin(), record.end())];
        stored_.Load(record);
    }
    void ApplyCellStyle(const lect32::CellTextStyle& style) override { stored_.ApplyCellStyle(style); }
    bool HasChanges(int grade) const override { return grade <= log_.changeGrade; }
    std::vector<uint8_t> Serialize() const override {
        return log_.changeGrade >= 0 ? log_.replacement : stored_.Serialize();
    }
    uint32_t SerializedSize() const override { return static_cast<uint32_t>(Serialize().size()); }
    void Place(int x, int y) override {
        const int width = box_.right - box_.left, height = box_.bottom - box_.top;
        box_ = {x, y, x + width, y + height};
    }
    void SetSize(int width, int height) override {
        box_.right = box_.left + width;
        box_.bottom = box_.top + height;
    }
    int Reflow(HDC dc) override {
        ++log_.reflows;
        return stored_.Reflow(dc);
    }
    int TextHeight() const override { return stored_.TextHeight(); }
    void SetBackground(uint8_t colour, int16_t picture, uint8_t mode, int16_t x, int32_t y) override {
        stored_.SetBackground(colour, picture, mode, x, y);
    }
    // The text's box in a colour of its own, so that probes see where the text went.
    void Paint(HDC dc, const RECT&) override {
        log_.painted.push_back(box_);
        const winplat::GdiObject<HBRUSH> brush(CreateSolidBrush(kText));
        FillRect(dc, &box_, brush.get());
    }
    void SetZoom(int percent, int second) override { log_.zooms.emplace_back(percent, second); }

private:
    EditorLog& log_;
    lect32::StoredCellText stored_;
    RECT box_{};
};

}  // namespace table_test

#endif

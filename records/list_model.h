// The record side of a list control: the working copy of the bound records,
// the selection (single or multiple) kept across refills, the line texts with
// their numbers and the append line, and the record editing operations that
// the owning dialog runs for cut, copy, paste, insert and delete.
#pragma once

#include <algorithm>
#include <climits>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "base/text.h"

// The operation a list ran last.
enum class ListOp { None, Copy, Delete, Cut, Insert, Paste, Resize, Clear, CutClear, PasteOver };

template <class T>
class ListModel {
public:
    using LineTextFn = std::function<std::string(int index, const T& record)>;

    // --- set up by the owner
    int offset = 0;            // leading records that are not shown
    bool numbering = false;
    bool appendLine = false;
    std::string appendText = std::string(64, '-');
    bool multiple = false;
    bool allowEmptySelection = false;
    int minCount = 0;          // shown records, the offset not counted
    int maxCount = INT_MAX;
    LineTextFn lineText;
    T* current = nullptr;      // receives a copy of the selected record
    // Where copied records go: by default one store per record type that
    // outlives every list, so records copied in one dialog paste in the next.
    std::vector<T>* clipboardStore = &SharedClipboard();

    // --- state
    std::vector<T> items;      // working copy (unless the model is bound)
    // A bound model works on the shared list itself instead of a copy: no
    // operation copies the whole list, and a change lands at once.
    std::vector<T>* bound = nullptr;
    int sel = -1;              // single selection
    int caret = 0, anchor = 0, top = 0;
    std::vector<char> flags;   // multiple selection, one per line
    ListOp lastOp = ListOp::None;
    bool pasteStopped = false; // the last paste reached the maximum before its end

    static std::vector<T>& SharedClipboard()
    {
        static std::vector<T> store;
        return store;
    }
    std::vector<T>& Clipboard() { return *clipboardStore; }
    std::vector<T>& Items() { return bound ? *bound : items; }
    const std::vector<T>& Items() const { return bound ? *bound : items; }

    int RecordCount() const { return std::max(0, static_cast<int>(Items().size()) - offset); }
    int LineCount() const { return RecordCount() + (appendLine ? 1 : 0); }
    bool IsRecordLine(int line) const { return line >= 0 && line < RecordCount(); }
    bool IsAppendLine(int line) const { return appendLine && line == RecordCount(); }
    T& Record(int line) { return Items()[static_cast<std::size_t>(offset + line)]; }

    // The texts of every shown line.
    std::vector<std::string> Lines() const
    {
        std::vector<std::string> out;
        int count = RecordCount();
        for (int i = 0; i < count; ++i) {
            std::string text = lineText ? lineText(offset + i, Items()[static_cast<std::size_t>(offset + i)]) : std::string();
            out.push_back(numbering ? NumberedLine(i + 1, count, text) : text);
        }
        if (appendLine)
            out.push_back(appendText);
        return out;
    }

    // The text of one shown record line (what Lines gives for it).
    std::string LineText(int line) const
    {
        int count = RecordCount();
        if (line < 0 || line >= count)
            return std::string();
        std::string text = lineText ? lineText(offset + line, Items()[static_cast<std::size_t>(offset + line)]) : std::string();
        return numbering ? NumberedLine(line + 1, count, text) : text;
    }

    // Takes a fresh copy of the records (mode 1 fill): the selection stays on its
    // line, moved onto the last record when it lies beyond it.
    // Without a selection (the first fill) the first line is selected, unless
    // the list allows an empty selection.
    void Load(const std::vector<T>& source)
    {
        Items() = source;
        if (current && sel > RecordCount() - 1)
            sel = RecordCount() - 1;
        if (!allowEmptySelection && !HasSelection() && LineCount() > 0)
            Select(0, false);
        if (current)
            CopyCurrent();
    }

    // A bound model after the shared list may have changed behind it: the
    // selection is put back in range and the current record read again.
    void Reload()
    {
        if (sel > RecordCount() - 1)
            sel = RecordCount() - 1;
        if (!allowEmptySelection && !HasSelection() && LineCount() > 0)
            Select(0, false);
        Refresh();
        if (current)
            CopyCurrent();
    }

    bool HasSelection() const
    {
        if (!multiple)
            return sel >= 0 && sel < LineCount();
        for (int i = 0; i < static_cast<int>(flags.size()) && i < LineCount(); ++i)
            if (flags[static_cast<std::size_t>(i)])
                return true;
        return false;
    }

    // Puts selection, flags and caret back in range after the lines changed.
    void Refresh()
    {
        int lines = LineCount();
        if (multiple) {
            flags.resize(static_cast<std::size_t>(lines), 0);
            caret = std::clamp(caret, 0, std::max(0, lines - 1));
            anchor = std::clamp(anchor, 0, std::max(0, lines - 1));
            // A list grown from no selection has its first line selected.
            if (!allowEmptySelection && lines > 0 && !HasSelection()) {
                flags[0] = 1;
                caret = anchor = 0;
            }
        } else if (sel >= lines) {
            sel = lines > 0 ? 0 : -1;
        }
        top = std::clamp(top, 0, std::max(0, lines - 1));
    }

    int GetSel() const
    {
        if (LineCount() == 0)
            return -1;
        if (!multiple)
            return sel;
        return caret >= 0 && caret < static_cast<int>(flags.size()) && flags[static_cast<std::size_t>(caret)] ? caret : -1;
    }

    void Select(int index, bool copyCurrent)
    {
        if (index == -1 && !allowEmptySelection)
            index = 0;
        if (index >= LineCount())
            index = -1;
        sel = index;
        if (multiple) {
            flags.assign(static_cast<std::size_t>(LineCount()), 0);
            if (index >= 0) {
                flags[static_cast<std::size_t>(index)] = 1;
                caret = anchor = index;
            }
        }
        if (copyCurrent)
            CopyCurrent();
    }

    // The selected record into the current-record variable; a default record
    // when nothing or the append line is selected.
    void CopyCurrent()
    {
        if (!current)
            return;
        int line = GetSel();
        *current = IsRecordLine(line) ? Record(line) : T{};
    }

    std::vector<int> SelectedRecords() const
    {
        std::vector<int> out;
        if (multiple) {
            for (int i = 0; i < static_cast<int>(flags.size()); ++i)
                if (flags[static_cast<std::size_t>(i)] && IsRecordLine(i))
                    out.push_back(i);
        } else if (IsRecordLine(sel)) {
            out.push_back(sel);
        }
        return out;
    }

    // --- record editing; each returns 0 for a refusal (the control beeps)

    int CopySel()
    {
        lastOp = ListOp::Copy;
        std::vector<int> lines = SelectedRecords();
        if (lines.empty())
            return 0;
        std::vector<T>& store = Clipboard();
        store.clear();
        for (int line : lines)
            store.push_back(Record(line));
        return 1;
    }

    int DeleteSel(int index = -1)
    {
        lastOp = ListOp::Delete;
        if (RecordCount() <= minCount)
            return 0;
        std::vector<int> lines;
        if (index >= 0)
            lines.push_back(index);
        else
            lines = SelectedRecords();
        if (lines.empty() || !IsRecordLine(lines.front()))
            return 0;
        int deleted = 0;
        for (int line : lines) {
            if (RecordCount() <= minCount)
                break;
            int at = line - deleted;
            Items().erase(Items().begin() + offset + at);
            if (multiple && at < static_cast<int>(flags.size()))
                flags.erase(flags.begin() + at);
            if (sel > at)
                --sel;
            if (caret > at)
                --caret;
            ++deleted;
        }
        if (multiple) {
            sel = caret;
            flags.resize(static_cast<std::size_t>(LineCount()), 0);
        }
        if (sel >= RecordCount())
            sel = RecordCount() - 1;
        if (sel < 0 || RecordCount() == 0) {
            sel = -1;
            if (current)
                *current = T{};
        } else {
            if (multiple) {
                caret = sel;
                flags.assign(static_cast<std::size_t>(LineCount()), 0);
                flags[static_cast<std::size_t>(sel)] = 1;
            }
            CopyCurrent();
        }
        Refresh();
        return 1;
    }

    int CutSel()
    {
        if (!CopySel())
            return 0;
        int r = DeleteSel();
        lastOp = ListOp::Cut;
        return r;
    }

    int Insert()
    {
        lastOp = ListOp::Insert;
        if (RecordCount() >= maxCount)
            return 0;
        int line = std::max(0, GetSel());
        Items().insert(Items().begin() + offset + line, T{});
        if (multiple)
            flags.insert(flags.begin() + std::min<std::size_t>(static_cast<std::size_t>(line), flags.size()), 0);
        Select(line, true);
        Refresh();
        return 1;
    }

    // Returns how many records went in (0 for a refusal); pasteStopped tells
    // that the maximum cut the clipboard short.
    int Paste()
    {
        lastOp = ListOp::Paste;
        pasteStopped = false;
        int line = GetSel();
        const std::vector<T> records = Clipboard();  // a copy: the store may be shared
        if (line < 0 || RecordCount() >= maxCount || records.empty())
            return 0;
        int at = line;
        for (const T& record : records) {
            if (RecordCount() >= maxCount) {
                pasteStopped = true;
                break;
            }
            Items().insert(Items().begin() + offset + at, record);
            if (multiple)
                flags.insert(flags.begin() + std::min<std::size_t>(static_cast<std::size_t>(at), flags.size()), 0);
            ++at;
        }
        Select(line, true);
        Refresh();
        return at - line;
    }

    // The current-record variable back into the selected record (the caret's
    // line with multiple selection). 0 when no record is selected.
    int WriteBack()
    {
        int line = GetSel();
        if (!current || !IsRecordLine(line))
            return 0;
        Record(line) = *current;
        return 1;
    }

    // Resets every selected record to a new record; the count stays.
    int ClearSel()
    {
        lastOp = ListOp::Clear;
        std::vector<int> lines = SelectedRecords();
        if (lines.empty())
            return 0;
        for (int line : lines)
            Record(line) = T{};
        CopyCurrent();
        return 1;
    }

    // Copies the selection, then clears it (cut in a list of fixed length).
    int CutClear()
    {
        if (!CopySel())
            return 0;
        int r = ClearSel();
        lastOp = ListOp::CutClear;
        return r;
    }

    // The copied records overwrite the records from the selected line on, in
    // order, as far as the list reaches; the count stays. Returns how many were
    // written.
    int PasteOver()
    {
        lastOp = ListOp::PasteOver;
        int line = GetSel();
        const std::vector<T> records = Clipboard();
        if (!IsRecordLine(line) || records.empty())
            return 0;
        int at = line;
        for (const T& record : records) {
            if (!IsRecordLine(at))
                break;
            Record(at++) = record;
        }
        CopyCurrent();
        return at - line;
    }

    int Resize(int count)
    {
        lastOp = ListOp::Resize;
        if (count < minCount || count > maxCount)
            return 0;
        Items().resize(static_cast<std::size_t>(offset + count));
        if (sel >= LineCount())
            sel = 0;
        if (multiple && caret >= LineCount())
            Select(0, false);
        Refresh();
        return 1;
    }
};

#include "UndoHistory.h"

#include "Messages.h"
#include "TextMarks.h"

#include <algorithm>

namespace tesk {

const char* const kUndoBufferErrorMessage = TESK_TEXT(
    "Messages", "UNDO バッファにエラーが生じています。\nデータを保存して、再起動してください。");

UndoHistory::UndoHistory(std::string fileName, int slotCount)
    : m_fileName(std::move(fileName)), m_slots(static_cast<size_t>(std::max(slotCount, 0))) {
    for (int i = 0; i < static_cast<int>(m_slots.size()); ++i) {
        m_free.push_back(i);
    }
}

Snapshot* UndoHistory::push() {
    int slot = 0;
    if (!m_free.empty()) {
        slot = m_free.back();
        m_free.pop_back();
    } else if (!m_undo.empty()) {
        slot = m_undo.front();
        m_undo.pop_front();
    } else if (!m_redo.empty()) {
        slot = m_redo.front();
        m_redo.pop_front();
    } else {
        return nullptr;
    }
    m_undo.push_back(slot);
    m_free.insert(m_free.end(), m_redo.begin(), m_redo.end());
    m_redo.clear();
    // An old image must never pass for the new one, even if the caller does not write it.
    Snapshot& snapshot = m_slots[static_cast<size_t>(slot)];
    snapshot.clear();
    return &snapshot;
}

const Snapshot* UndoHistory::undo() {
    if (m_undo.size() < 2) {
        return nullptr;
    }
    m_redo.push_back(m_undo.back());
    m_undo.pop_back();
    return &m_slots[static_cast<size_t>(m_undo.back())];
}

const Snapshot* UndoHistory::redo() {
    if (m_redo.empty()) {
        return nullptr;
    }
    const int slot = m_redo.back();
    m_redo.pop_back();
    m_undo.push_back(slot);
    return &m_slots[static_cast<size_t>(slot)];
}

const Snapshot* UndoHistory::current() const {
    return m_undo.empty() ? nullptr : &m_slots[static_cast<size_t>(m_undo.back())];
}

void UndoHistory::clear() {
    m_free.clear();
    m_undo.clear();
    m_redo.clear();
    for (int i = 0; i < static_cast<int>(m_slots.size()); ++i) {
        m_free.push_back(i);
        m_slots[static_cast<size_t>(i)].clear();
    }
}

UndoHistories::UndoHistories(int slotsPerHistory) : m_slotsPerHistory(slotsPerHistory) {}

UndoHistory* UndoHistories::find(const std::string& fileName) {
    for (const auto& history : m_histories) {
        if (history->matches(fileName)) {
            return history.get();
        }
    }
    return nullptr;
}

Snapshot* UndoHistories::pushSnapshot(const std::string& fileName, Messages& messages) {
    UndoHistory* history = find(fileName);
    if (history == nullptr) {
        m_histories.push_back(std::make_unique<UndoHistory>(fileName, m_slotsPerHistory));
        history = m_histories.back().get();
    }
    Snapshot* slot = history->push();
    if (slot == nullptr) {
        messages.inform(kUndoBufferErrorMessage);
    }
    return slot;
}

const Snapshot* UndoHistories::undo(const std::string& fileName) {
    UndoHistory* history = find(fileName);
    return history != nullptr ? history->undo() : nullptr;
}

const Snapshot* UndoHistories::redo(const std::string& fileName) {
    UndoHistory* history = find(fileName);
    return history != nullptr ? history->redo() : nullptr;
}

const Snapshot* UndoHistories::current(const std::string& fileName) {
    UndoHistory* history = find(fileName);
    return history != nullptr ? history->current() : nullptr;
}

void UndoHistories::clear(const std::string& fileName) {
    if (UndoHistory* history = find(fileName)) {
        history->clear();
    }
}

} // namespace tesk

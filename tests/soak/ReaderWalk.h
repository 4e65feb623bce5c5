#pragma once
// A seeded, reproducible random walk of a reader's actions on the real form,
// with what the reader can know of its effects: which nodules Ctrl+Z would bring
// back, which item a closed list shows, what a typed size became.
#include <cstdint>
#include <deque>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "FormDriver.h"
#include "FormWatch.h"
#include "SoakResponder.h"

// splitmix64: the same sequence from the same seed on every runtime.
class Random {
public:
    explicit Random(uint64_t seed) : m_state(seed) {}
    uint64_t Next() {
        uint64_t z = (m_state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    int Below(int n) { return static_cast<int>(Next() % static_cast<uint64_t>(n)); }
    template <typename T, size_t N> const T& Pick(const T (&items)[N]) { return items[Below(static_cast<int>(N))]; }

private:
    uint64_t m_state;
};

class ReaderWalk {
public:
    ReaderWalk(FormDriver& form, Responder& responder, uint64_t seed);

    // Performs one action and returns its description.
    std::string Step();
    // Nodules deleted and kept for Ctrl+Z, as the reader can know them.
    int HeldNodules() const { return static_cast<int>(m_deleted.size()); }
    // What the walk itself saw go wrong in the last action.
    std::vector<std::string> TakeViolations() { return std::move(m_violations); }

private:
    std::string RandomAction();
    std::string Toggle();
    std::string ChooseAny();
    std::string TypeSomewhere();
    std::string TypeInto(int nIDC);
    std::string LeaveEditor(int nIDC);
    std::string DriveList();
    std::string PressCommandKey();
    std::string RefuseDose();
    std::string DeleteThenUndo();

    // What the reader knows of Ctrl+Z: it brings back deleted nodules only while
    // deletes are the form's last changes; any other change forgets them.
    void Forget() { m_deleted.clear(); }
    void NoteTyping();
    void Delete(const std::function<void()>& press);
    void UndoDelete();
    std::string Add(const std::function<void()>& press, const std::string& what);
    void Click(int nIDC);
    std::string Clear(const std::function<void()>& press, const std::string& what);
    std::string Report(const std::function<void()>& press, const std::string& what);
    void Choose(int nIDC, const std::function<void()>& choose);

    void ExpectKept(int nIDC, const CNoduleItem* pTypedFor, const std::wstring& text);
    void Violation(const std::string& line) { m_violations.push_back(line); }
    std::vector<int> FollowUps() const;
    const CNoduleItem* SelectedRecord() const;
    int ClickAnyRow();
    int SelectAny();
    int PickEnabled(std::span<const int> ids, int nExcept = 0);

    FormDriver& m_form;
    Responder& m_responder;
    Random m_random;
    std::vector<std::wstring> m_rowsBeforeDelete;  // as the list showed them before its last delete
    FormWatch m_watch;
    // For each nodule deleted since the form's last other change, the rows as
    // they stood before its delete; the last deleted last.
    std::vector<std::vector<std::wstring>> m_deleted;
    std::vector<std::string> m_violations;
    std::deque<std::function<std::string()>> m_planned;  // actions that follow the last one
};

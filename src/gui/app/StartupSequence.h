#pragma once

#include <functional>

class QComboBox;
class QWidget;
struct RememberedSelection;

// Runs the main window's start-up steps in the order they are given. A step that fails is
// reported in a message box with the error's description, the rest of that step is skipped,
// and start-up goes on with the next one. The lists a step selects in are found in the window
// by their object names.
class StartupSequence {
public:
    explicit StartupSequence(QWidget& i_window);

    void Step(const std::function<void()>& i_step);

    // One step: selects entry i_iIndex of list i_pList (-1 for none), which runs the list's
    // selection handler when the index changes.
    void Select(const char* i_pList, int i_iIndex);

    // One step: selects in the remembered list the index stored under its key. When the list
    // has a mirror, a second step selects the same index there.
    void Restore(const RememberedSelection& i_selection);

private:
    QComboBox* List(const char* i_pName) const;
    void RestoreStep(const RememberedSelection& i_selection);

    QWidget& m_window;
};

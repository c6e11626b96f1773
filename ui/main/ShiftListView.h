// The main window's shift list, and how assistive technology sees it: a table of the columns the eye
// sees, without the leading identifier column that the window keeps one twip wide.
#pragma once

#include <QTreeWidget>

namespace ui {

// A tree widget like any other, except to screen readers, which are shown its columns after the
// first. Its focus and selection announcements name the cells of that narrower table.
class ShiftListView : public QTreeWidget {
    Q_OBJECT
public:
    explicit ShiftListView(QWidget* parent = nullptr);

protected:
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void selectionChanged(const QItemSelection& selected, const QItemSelection& deselected) override;
};

}  // namespace ui

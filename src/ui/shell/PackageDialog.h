#pragma once

#include "shell/ModuleInfo.h"

#include <QDialog>

class QTreeWidget;

namespace orven::ui {

// "Package Information": the program's modules, the components each contains
// and the libraries each requires. Shown at start-up when the program is run
// with the second argument "design". Escape closes it.
class TFPackage : public QDialog {
    Q_OBJECT
public:
    static constexpr int kWidth = 379;
    static constexpr int kHeight = 413;

    // The modules of the running process.
    explicit TFPackage(QWidget *parent = nullptr);
    // The given modules (tests, or another source of module information).
    TFPackage(const QList<modules::Module> &list, QWidget *parent = nullptr);

    QTreeWidget *tree() const { return TreeView1; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void build();
    void fill(const QList<modules::Module> &list);

    QTreeWidget *TreeView1 = nullptr;
};

} // namespace orven::ui

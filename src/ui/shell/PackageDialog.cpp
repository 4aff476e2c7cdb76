#include "shell/PackageDialog.h"

#include "shell/Artwork.h"

#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QScreen>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace orven::ui {

TFPackage::TFPackage(QWidget *parent) : TFPackage(modules::loadedModules(), parent) {}

TFPackage::TFPackage(const QList<modules::Module> &list, QWidget *parent) : QDialog(parent)
{
    build();
    fill(list);
}

void TFPackage::build()
{
    setObjectName(QStringLiteral("FPackage"));
    setWindowTitle(QStringLiteral("Package Information"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    resize(kWidth, kHeight);

    TreeView1 = new QTreeWidget(this);
    TreeView1->setObjectName(QStringLiteral("TreeView1"));
    TreeView1->setHeaderHidden(true);
    TreeView1->setColumnCount(1);
    TreeView1->setIndentation(19);
    TreeView1->setUniformRowHeights(true);
    TreeView1->setIconSize(QSize(16, 16));
    TreeView1->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    TreeView1->header()->setStretchLastSection(false);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(TreeView1);

    // The window sees the keys before its controls.
    TreeView1->installEventFilter(this);

    if (QScreen *screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.center() - QPoint(kWidth / 2, kHeight / 2));
    }
}

void TFPackage::fill(const QList<modules::Module> &list)
{
    const QIcon moduleIcon = art::glyphIcon(art::Glyph::Module, 16);
    const QIcon folderIcon = art::glyphIcon(art::Glyph::Folder, 16);
    const QIcon unitIcon = art::glyphIcon(art::Glyph::Unit, 16);
    const QIcon packageIcon = art::glyphIcon(art::Glyph::Package, 16);

    for (const modules::Module &m : list) {
        auto *node = new QTreeWidgetItem(TreeView1, {m.fileName.left(modules::kFileNameLength)});
        node->setIcon(0, moduleIcon);
        auto *contains = new QTreeWidgetItem(node, {QStringLiteral("Contains")});
        contains->setIcon(0, folderIcon);
        auto *requires_ = new QTreeWidgetItem(node, {QStringLiteral("Requires")});
        requires_->setIcon(0, folderIcon);
        for (const modules::Unit &u : m.contains)
            (new QTreeWidgetItem(contains, {modules::unitNodeText(u.name, u.flags)}))->setIcon(0, unitIcon);
        for (const QString &name : m.required)
            (new QTreeWidgetItem(requires_, {name}))->setIcon(0, packageIcon);

        if (m.description.isEmpty())
            continue;
        new QTreeWidgetItem(node, {QStringLiteral("Description: ") + m.description});
        if (m.packageFlags & modules::DesignOnly)
            new QTreeWidgetItem(node, {QStringLiteral("Design Only")});
        if (m.packageFlags & modules::RunOnly)
            new QTreeWidgetItem(node, {QStringLiteral("Run Only")});
    }
}

bool TFPackage::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape) {
        close();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace orven::ui

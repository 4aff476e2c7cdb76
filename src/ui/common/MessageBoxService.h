#pragma once

#include "common/Messages.h"

class QWidget;

namespace orven::ui {

// Messages as modal boxes: captions and icons as asked, Yes/No with No as
// the default button.
class MessageBoxService final : public MessageService {
public:
    explicit MessageBoxService(QWidget *parent = nullptr) : m_parent(parent) {}
    void setParent(QWidget *parent) { m_parent = parent; }
    void show(const QString &text, const QString &caption, Icon icon) override;
    bool ask(const QString &text, const QString &caption, Icon icon) override;

private:
    QWidget *m_parent;
};

} // namespace orven::ui

#include "generation/GenerationWindow.h"

#include "catalogue/Catalogue.h"
#include "common/Error.h"
#include "common/Messages.h"
#include "config/PathResolver.h"
#include "generation/AggregatingAmountSource.h"
#include "generation/AmountSource.h"
#include "generation/Generator.h"
#include "generation/RunChecks.h"
#include "shell/Artwork.h"
#include "shell/MainWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <climits>

namespace orven::ui {

namespace msg = generation::messages;

// ------------------------------------------------------------ status label

StatusLabel::StatusLabel(QWidget *parent) : QLabel(parent)
{
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    setTextFormat(Qt::PlainText);
}

QSize StatusLabel::minimumSizeHint() const { return {40, fontMetrics().height() + 4}; }

QSize StatusLabel::sizeHint() const { return {200, fontMetrics().height() + 4}; }

void StatusLabel::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const QRect r = contentsRect();
    p.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
    p.setFont(font());
    const QString shown = fontMetrics().elidedText(text().trimmed(), Qt::ElideRight, r.width());
    p.drawText(r, Qt::AlignLeft | Qt::AlignVCenter, shown);
}

// ------------------------------------------------------------ progress of a run

GenerationProgress::GenerationProgress(const std::array<QProgressBar *, kLevels> &bars,
                                       const std::array<QLabel *, kLevels> &labels)
{
    for (int i = 0; i < kLevels; ++i) {
        m_levels[i].bar = bars[i];
        m_levels[i].label = labels[i];
    }
}

void GenerationProgress::setMaximum(qint64 maximum, int level)
{
    if (level < 0 || level >= kLevels)
        return;
    m_levels[level].maximum = std::max<qint64>(maximum, 0);
    show(m_levels[level]);
}

void GenerationProgress::setPosition(qint64 position, int level)
{
    if (level < 0 || level >= kLevels)
        return;
    m_levels[level].position = std::max<qint64>(position, 0);
    show(m_levels[level]);
}

void GenerationProgress::advance(qint64 steps, int level)
{
    if (level < 0 || level >= kLevels)
        return;
    m_levels[level].position += steps;
    show(m_levels[level]);
    pump();
}

void GenerationProgress::setStatus(const QString &text, int level)
{
    if (level < 0 || level >= kLevels)
        return;
    if (m_levels[level].label)
        m_levels[level].label->setText(text);
    pump();
}

void GenerationProgress::show(Level &level)
{
    if (!level.bar)
        return;
    const qint64 maximum = std::min<qint64>(level.maximum, INT_MAX);
    const qint64 position = std::clamp<qint64>(level.position, 0, maximum);
    // A level without rows shows an empty bar, not the busy indicator.
    level.bar->setRange(0, int(std::max<qint64>(maximum, 1)));
    level.bar->setValue(int(position));
    level.bar->setFormat(QStringLiteral("%1 de %2").arg(position).arg(level.maximum));
    level.bar->setTextVisible(true);
}

void GenerationProgress::pump()
{
    QCoreApplication::processEvents();
    if (onStep)
        onStep();
}

// ------------------------------------------------------------ the window

TFrmGeraXML::TFrmGeraXML(db::Conexao &connection, TFrmPrincipalXMLORVEN *mainWindow, QWidget *parent)
    : QWidget(parent), m_db(connection), m_main(mainWindow ? mainWindow : TFrmPrincipalXMLORVEN::instance())
{
    setObjectName(QStringLiteral("FrmGeraXML"));
    setWindowTitle(kCaption);
    setWindowIcon(art::glyphIcon(art::Glyph::Generator, 16));
    buildForm();
    m_progress = std::make_unique<GenerationProgress>(m_bars, m_status);
    // Closing the main window during a run ends the program: the run stops
    // first, without writing anything.
    if (m_main)
        m_main->installEventFilter(this);
}

TFrmGeraXML::~TFrmGeraXML()
{
    if (m_main)
        m_main->removeEventFilter(this);
}

QString TFrmGeraXML::initialFolder()
{
    QString home = QDir::toNativeSeparators(QDir::homePath());
    if (!home.endsWith(QDir::separator()))
        home += QDir::separator();
    return home;
}

generation::CancelFlag &TFrmGeraXML::cancelFlag() { return m_main ? m_main->cancel() : m_ownFlag; }

bool TFrmGeraXML::isRunningState() const { return !btngerar->isEnabled(); }

void TFrmGeraXML::buildForm()
{
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(24, 18, 24, 18);

    auto *panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("pnlGerador"));
    panel->setMinimumWidth(560);
    panel->setMaximumWidth(760);
    auto *column = new QVBoxLayout(panel);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(14);

    // Heading.
    auto *heading = new QHBoxLayout;
    heading->setSpacing(12);
    auto *glyph = new QLabel(panel);
    glyph->setPixmap(art::glyphIcon(art::Glyph::Generator, 40).pixmap(40, 40));
    glyph->setFixedSize(44, 44);
    heading->addWidget(glyph, 0, Qt::AlignTop);
    auto *titles = new QVBoxLayout;
    titles->setSpacing(2);
    auto *title = new QLabel(QStringLiteral("Geração do Arquivo de Captura"), panel);
    QFont titleFont = title->font();
    titleFont.setPixelSize(17);
    titleFont.setBold(true);
    title->setFont(titleFont);
    title->setStyleSheet(QStringLiteral("color: rgb(0, 84, 88);"));
    auto *subtitle = new QLabel(
        QStringLiteral("Gera o arquivo lrfcapturacontas.xml da entidade e do bimestre escolhidos, "
                       "para o Módulo Captura do Tribunal de Contas."),
        panel);
    subtitle->setWordWrap(true);
    subtitle->setStyleSheet(QStringLiteral("color: rgb(90, 96, 100);"));
    titles->addWidget(title);
    titles->addWidget(subtitle);
    heading->addLayout(titles, 1);
    column->addLayout(heading);

    // Parameters.
    auto *params = new QGroupBox(QStringLiteral("Parâmetros"), panel);
    params->setObjectName(QStringLiteral("gbParametros"));
    auto *grid = new QGridLayout(params);
    grid->setContentsMargins(14, 12, 14, 14);
    grid->setHorizontalSpacing(12);
    grid->setVerticalSpacing(4);

    auto *lblEnt = new QLabel(QStringLiteral("Entidade"), params);
    cbent = new QComboBox(params);
    cbent->setObjectName(QStringLiteral("cbent"));
    cbent->setEditable(false);
    cbent->setMinimumContentsLength(36);
    cbent->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    lblEnt->setBuddy(cbent);

    auto *lblMes = new QLabel(QStringLiteral("Bimestre de Referência"), params);
    CbMes = new QComboBox(params);
    CbMes->setObjectName(QStringLiteral("CbMes"));
    CbMes->setEditable(false);
    CbMes->setMaxVisibleItems(12);
    CbMes->addItems(generation::bimesterItems());
    CbMes->setMinimumWidth(190);
    lblMes->setBuddy(CbMes);

    auto *lblLocal = new QLabel(QStringLiteral("Pasta onde os arquivos serão gerados"), params);
    edtLocal = new QLineEdit(params);
    edtLocal->setObjectName(QStringLiteral("edtLocal"));
    edtLocal->setReadOnly(true);
    edtLocal->setText(initialFolder());
    lblLocal->setBuddy(edtLocal);
    sb = new QToolButton(params);
    sb->setObjectName(QStringLiteral("sb"));
    sb->setIcon(art::glyphIcon(art::Glyph::Folder, 18));
    sb->setIconSize(QSize(18, 18));
    sb->setToolTip(kFolderDialogTitle);
    sb->setCursor(Qt::PointingHandCursor);
    sb->setFixedSize(QSize(30, edtLocal->sizeHint().height()));

    grid->addWidget(lblEnt, 0, 0, 1, 3);
    grid->addWidget(cbent, 1, 0, 1, 3);
    grid->setRowMinimumHeight(2, 8);
    grid->addWidget(lblMes, 3, 0);
    grid->addWidget(CbMes, 4, 0);
    grid->setRowMinimumHeight(5, 8);
    grid->addWidget(lblLocal, 6, 0, 1, 3);
    auto *folderRow = new QHBoxLayout;
    folderRow->setSpacing(4);
    folderRow->addWidget(edtLocal, 1);
    folderRow->addWidget(sb);
    grid->addLayout(folderRow, 7, 0, 1, 3);
    grid->setColumnStretch(2, 1);
    column->addWidget(params);

    // Progress of the run.
    auto *andamento = new QGroupBox(QStringLiteral("Andamento da Geração"), panel);
    andamento->setObjectName(QStringLiteral("gbAndamento"));
    auto *bars = new QGridLayout(andamento);
    bars->setContentsMargins(14, 12, 14, 14);
    bars->setHorizontalSpacing(12);
    bars->setVerticalSpacing(3);
    const QString levelNames[] = {QStringLiteral("Cadastro"), QStringLiteral("Opção"), QStringLiteral("Tipo"),
                                  QStringLiteral("Conta")};
    for (int i = 0; i < 4; ++i) {
        auto *name = new QLabel(levelNames[i], andamento);
        QFont bold = name->font();
        bold.setBold(true);
        name->setFont(bold);
        name->setMinimumWidth(70);
        auto *status = new StatusLabel(andamento);
        status->setObjectName(QStringLiteral("Status%1").arg(i + 1));
        auto *bar = new QProgressBar(andamento);
        bar->setObjectName(QStringLiteral("p%1").arg(i + 1));
        bar->setRange(0, 1);
        bar->setValue(0);
        bar->setTextVisible(false);
        bar->setAlignment(Qt::AlignCenter);
        bar->setFixedHeight(18);
        const int row = i * 3;
        if (i > 0)
            bars->setRowMinimumHeight(row - 1, 8);
        bars->addWidget(name, row, 0);
        bars->addWidget(status, row, 1);
        bars->addWidget(bar, row + 1, 0, 1, 2);
        m_status[i] = status;
        m_bars[i] = bar;
    }
    bars->setColumnStretch(1, 1);
    column->addWidget(andamento);

    // Buttons.
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    btngerar = new QPushButton(art::glyphIcon(art::Glyph::Generator, 20), kCaptionGerar, panel);
    btngerar->setObjectName(QStringLiteral("btngerar"));
    btngerar->setIconSize(QSize(20, 20));
    btngerar->setMinimumSize(120, 32);
    btngerar->setDefault(true);
    btnfechar = new QPushButton(art::glyphIcon(art::Glyph::ExitDoor, 20), kCaptionFechar, panel);
    btnfechar->setObjectName(QStringLiteral("btnfechar"));
    btnfechar->setIconSize(QSize(20, 20));
    btnfechar->setMinimumSize(120, 32);
    buttons->addWidget(btngerar);
    buttons->addWidget(btnfechar);
    column->addLayout(buttons);

    auto *centred = new QHBoxLayout;
    centred->addStretch(1);
    centred->addWidget(panel, 4);
    centred->addStretch(1);
    outer->addLayout(centred);
    outer->addStretch(1);

    connect(sb, &QToolButton::clicked, this, &TFrmGeraXML::sbClick);
    connect(btngerar, &QPushButton::clicked, this, &TFrmGeraXML::btngerarClick);
    connect(btnfechar, &QPushButton::clicked, this, &TFrmGeraXML::btnfecharClick);
}

void TFrmGeraXML::setRunningState(bool running)
{
    btngerar->setEnabled(!running);
    btnfechar->setText(running ? kCaptionCancelar : kCaptionFechar);
    btnfechar->setIcon(art::glyphIcon(running ? art::Glyph::ExitClose : art::Glyph::ExitDoor, 20));
    cbent->setEnabled(!running);
    CbMes->setEnabled(!running);
    sb->setEnabled(!running);
    if (m_main)
        m_main->setMenuEnabled(!running);
}

// ------------------------------------------------------------ handlers

void TFrmGeraXML::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (m_shownOnce)
        return;
    m_shownOnce = true;
    FormShow();
}

void TFrmGeraXML::FormShow()
{
    cbent->clear();
    try {
        for (const generation::Entity &e : generation::entities(m_db))
            cbent->addItem(generation::entityItemText(e.code, e.name));
    } catch (const Error &e) {
        MessageService::instance().error(e.message());
    }
    if (cbent->count() > 0)
        cbent->setCurrentIndex(0);
    CbMes->setCurrentIndex(0);
}

void TFrmGeraXML::sbClick()
{
    const QString start = edtLocal->text();
    const QString chosen = m_chooseFolder
                               ? m_chooseFolder(this, kFolderDialogTitle, start)
                               : QFileDialog::getExistingDirectory(this, kFolderDialogTitle, start);
    if (chosen.isEmpty())
        return;
    QString folder = QDir::toNativeSeparators(chosen);
    if (!folder.endsWith(QDir::separator()))
        folder += QDir::separator();
    edtLocal->setText(folder);
}

void TFrmGeraXML::btngerarClick()
{
    // A cancelled run may still be winding down (the controls are idle
    // already); it ends at its next look at the flag.
    if (m_generating)
        return;
    MessageService &messages = MessageService::instance();
    generation::CancelFlag &flag = cancelFlag();
    flag.clear();

    const QString folder = edtLocal->text();
    if (folder.isEmpty() || !QFileInfo(folder).isDir()) {
        messages.warning(msg::folderMissing);
        sbClick();
        return;
    }

    QString year;
    int entity = 0;
    try {
        if (generation::hasUnclassifiedCommitments(m_db)) {
            messages.warning(msg::unclassifiedCommitments);
            return;
        }
        year = generation::exerciseYear(m_db);
        entity = generation::entityFromItem(cbent->currentText());
    } catch (const Error &e) {
        messages.error(e.message());
        return;
    }
    const int bimester = std::clamp(CbMes->currentIndex() + 1, 1, 6);
    m_params = generation::RunParameters::forBimester(bimester, year, entity, folder);

    for (int i = 0; i < GenerationProgress::kLevels; ++i) {
        m_progress->setMaximum(0, i);
        m_progress->setPosition(0, i);
        m_status[i]->clear();
    }
    m_generating = true;
    setRunningState(true);

    QString failure;
    generation::Generator::Outcome outcome = generation::Generator::Outcome::Cancelled;
    try {
        generation::AggregatingAmountSource source(std::make_unique<generation::ConexaoAmountSource>(m_db));
        generation::Generator generator(source, flag, *m_progress);
        // The controls go back to idle just before the file is written.
        generator.beforeWrite = [this] { setRunningState(false); };
        const QString cataloguePath =
            config::resolvePath(QStringLiteral("TD")) + catalogue::Catalogue::fileNameForYear(year);
        outcome = generator.run(m_params, cataloguePath);
    } catch (const Error &e) {
        failure = e.message();
    } catch (const std::exception &e) {
        failure = QString::fromLocal8Bit(e.what());
        if (failure.isEmpty())
            failure = QStringLiteral("Erro inesperado.");
    }
    m_generating = false;
    setRunningState(false);

    if (!failure.isEmpty())
        messages.error(msg::failure + QLatin1Char('\n') + failure);
    else if (outcome == generation::Generator::Outcome::Written)
        messages.information(msg::success, QStringLiteral("OK"));
    flag.clear();

    if (m_closeAfterRun) {
        m_closeAfterRun = false;
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (auto *frame = qobject_cast<QMdiSubWindow *>(parentWidget()))
                    frame->close();
                else
                    close();
            },
            Qt::QueuedConnection);
    }
}

bool TFrmGeraXML::confirmCancel()
{
    MessageService &messages = MessageService::instance();
    if (!messages.ask(msg::cancelQuestion, QStringLiteral("Atenção")))
        return false;
    cancelFlag().set();
    setRunningState(false);
    messages.warning(msg::cancelled);
    return true;
}

void TFrmGeraXML::btnfecharClick()
{
    if (btngerar->isEnabled()) {
        if (auto *frame = qobject_cast<QMdiSubWindow *>(parentWidget()))
            frame->close();
        else
            close();
        return;
    }
    confirmCancel();
}

void TFrmGeraXML::closeEvent(QCloseEvent *event)
{
    // The window is freed when it closes, and a run works on it: while one
    // is on its way the window stays. Closing it then (its close box, the
    // main window's exit buttons) asks to cancel the run as "Cancelar" does,
    // and the window closes once the run has stopped.
    if (m_generating) {
        event->ignore();
        if (isRunningState()) {
            if (confirmCancel())
                m_closeAfterRun = true;
        } else {
            m_closeAfterRun = true; // cancelled already, winding down
        }
        return;
    }
    event->accept();
}

bool TFrmGeraXML::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_main && event->type() == QEvent::Close && m_generating)
        cancelFlag().set();
    return QWidget::eventFilter(watched, event);
}

} // namespace orven::ui

#pragma once

// "Gerador XML": the working window in which the user chooses the entity,
// the bimester and the folder, and generates lrfcapturacontas.xml.

#include "common/Progress.h"
#include "generation/Run.h"

#include <QLabel>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <array>
#include <functional>
#include <memory>

class QComboBox;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QToolButton;

namespace orven::db {
class Conexao;
}

namespace orven::ui {

class TFrmPrincipalXMLORVEN;

// A status label that shows as much of its text as fits, with an ellipsis,
// and never widens the window (catalogue names can be long).
class StatusLabel : public QLabel {
    Q_OBJECT
public:
    explicit StatusLabel(QWidget *parent = nullptr);
    QSize minimumSizeHint() const override;
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
};

// Progress of a run on the window: level 0 cadastros, 1 opcoes, 2 tipos,
// 3 contas, each with its bar and its status label. Every status and every
// step lets the program process its pending events, so that the windows
// stay alive and "Cancelar" can be pressed.
class GenerationProgress final : public Progress {
public:
    static constexpr int kLevels = 4;

    GenerationProgress(const std::array<QProgressBar *, kLevels> &bars, const std::array<QLabel *, kLevels> &labels);

    void setMaximum(qint64 maximum, int level = 0) override;
    void setPosition(qint64 position, int level = 0) override;
    void advance(qint64 steps = 1, int level = 0) override;
    void setStatus(const QString &text, int level = 0) override;

    // Called after every step and status (tests, screenshots).
    std::function<void()> onStep;

private:
    struct Level {
        QPointer<QProgressBar> bar;
        QPointer<QLabel> label;
        qint64 maximum = 0;
        qint64 position = 0;
    };
    void show(Level &level);
    void pump();

    std::array<Level, kLevels> m_levels;
};

class TFrmGeraXML : public QWidget {
    Q_OBJECT
public:
    static inline const QString kCaption = QStringLiteral("Gerador XML");
    static inline const QString kFolderDialogTitle = QStringLiteral("Selecione onde o Arquivo será Gerado");
    static inline const QString kCaptionGerar = QStringLiteral("Gerar XML");
    static inline const QString kCaptionFechar = QStringLiteral("Fechar");
    static inline const QString kCaptionCancelar = QStringLiteral("Cancelar");

    // Asks for a folder: the parent, the dialog's title and the folder to
    // start in; returns the chosen folder, or an empty text when cancelled.
    using FolderChooser = std::function<QString(QWidget *parent, const QString &title, const QString &start)>;

    // The run uses the program's connection; the cancel flag and the menu
    // buttons are those of mainWindow (a window of its own keeps its own
    // flag when there is no main window).
    explicit TFrmGeraXML(db::Conexao &connection, TFrmPrincipalXMLORVEN *mainWindow = nullptr,
                         QWidget *parent = nullptr);
    ~TFrmGeraXML() override;

    // The target folder offered at first: the user's home folder with a
    // trailing separator.
    static QString initialFolder();

    // Replaces the folder dialog (tests).
    void setFolderChooser(FolderChooser chooser) { m_chooseFolder = std::move(chooser); }

    // True while a generation is on its way, including the moment in which a
    // cancelled run winds down after the controls went back to idle.
    bool isGenerating() const { return m_generating; }
    // The controls are in the running state (btngerar disabled).
    bool isRunningState() const;
    generation::CancelFlag &cancelFlag();
    // The parameters of the last run started.
    const generation::RunParameters &runParameters() const { return m_params; }
    GenerationProgress &progress() { return *m_progress; }

public slots:
    // Fills the entity list and selects the first entity and bimester.
    void FormShow();
    // Folder selection.
    void sbClick();
    // Checks and runs.
    void btngerarClick();
    // Closes the window (idle) or asks to cancel the run.
    void btnfecharClick();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildForm();
    void setRunningState(bool running);
    // Asks whether to cancel the run; on Yes sets the flag, returns the
    // controls to idle and says so. True on Yes.
    bool confirmCancel();

    db::Conexao &m_db;
    QPointer<TFrmPrincipalXMLORVEN> m_main;
    generation::CancelFlag m_ownFlag;
    FolderChooser m_chooseFolder;
    generation::RunParameters m_params;
    bool m_generating = false;
    bool m_closeAfterRun = false;
    bool m_shownOnce = false;

    QComboBox *cbent = nullptr;
    QComboBox *CbMes = nullptr;
    QLineEdit *edtLocal = nullptr;
    QToolButton *sb = nullptr;
    QPushButton *btngerar = nullptr;
    QPushButton *btnfechar = nullptr;
    std::array<QLabel *, 4> m_status{};
    std::array<QProgressBar *, 4> m_bars{};
    std::unique_ptr<GenerationProgress> m_progress;
};

} // namespace orven::ui

#pragma once

#include "generation/Run.h"

#include <QAbstractButton>
#include <QFrame>
#include <QLocale>
#include <QMainWindow>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <array>
#include <functional>

class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QTimer;

namespace orven::ui {

// ------------------------------------------------------------ program-wide settings

// Host of the audit court's web capture application ("Módulo Captura").
inline constexpr char kCaptureHost[] = "lrfcaptura.tce.gov.br";
inline constexpr int kCapturePort = 8080;
inline constexpr char kCapturePath[] = "/lrfcaptura";
// The address the menu entry "Módulo Captura" opens.
QUrl captureApplicationUrl();

// The process's short date format: every date the program writes as a short
// date follows it.
inline QString shortDateFormat() { return QStringLiteral("dd/MM/yyyy"); }

// The program's version text: four numbers joined by points.
QString versionText();

// True when the second command-line argument is exactly "design" (with case):
// the package information dialog is then shown before anything else.
bool showPackageDialogFirst(const QStringList &arguments);

// The main window's caption. When the executable exists: "ZUNT 8.0 - MÓDULO
// ORVEN - Atualizado dia " + its modification date and time + " - Versão: " +
// the version text; the date is the short date, the time is the locale's long
// time format and is left out at exactly midnight. Otherwise the design
// caption "FrmPrincipalXMLORVEN".
QString mainWindowCaption(const QString &executablePath, const QString &version,
                          const QLocale &locale = QLocale::system());
inline constexpr char kDesignCaption[] = "FrmPrincipalXMLORVEN";

// ------------------------------------------------------------ controls of the shell

// A flat menu button of the left column: glyph, white bold caption, hand cursor.
class MenuButton : public QAbstractButton {
    Q_OBJECT
public:
    MenuButton(const QString &caption, const QIcon &glyph, QWidget *parent = nullptr);
    QSize sizeHint() const override { return {144, 41}; }

protected:
    void paintEvent(QPaintEvent *event) override;
};

// A flat exit button of the banner: glyph above a short caption.
class BannerButton : public QAbstractButton {
    Q_OBJECT
public:
    BannerButton(const QString &caption, const QIcon &glyph, QWidget *parent = nullptr);
    QSize sizeHint() const override { return {39, 44}; }

protected:
    void paintEvent(QPaintEvent *event) override;
};

// A status pane whose text scrolls from right to left.
class MarqueePane : public QFrame {
    Q_OBJECT
public:
    explicit MarqueePane(const QString &text, QWidget *parent = nullptr);
    QString text() const { return m_text; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void step();

    QString m_text;
    int m_offset = 4;
    QTimer *m_timer;
};

// ------------------------------------------------------------ the main window

// The MDI frame that stays open for the whole run: banner with the exit
// buttons, the menu column, the working windows (one at a time) and the
// status bar.
class TFrmPrincipalXMLORVEN : public QMainWindow {
    Q_OBJECT
public:
    // The menu entries that open a working window, top to bottom.
    enum class Child { Gerador, Receita, Despesa, Restos, Garantia, Dados };
    static constexpr int kChildCount = 6;
    using ChildFactory = std::function<QWidget *()>;

    static inline const QString kCourtName = QStringLiteral("Tribunal de Contas do Estado");
    static inline const QString kMakerCaption =
        QStringLiteral("ZUNT Sistemas  \u2022  Contabilidade Pública Municipal");
    static inline const QString kComingSoon = QStringLiteral("Disponível em breve");
    static inline const QString kExitQuestion = QStringLiteral("Deseja Finalizar o Módulo Gerador XML?");

    explicit TFrmPrincipalXMLORVEN(QWidget *parent = nullptr);
    ~TFrmPrincipalXMLORVEN() override;

    // The main window of the program, while it exists.
    static TFrmPrincipalXMLORVEN *instance();

    // Binds a menu entry to the window it opens. Entries without a factory
    // stay disabled.
    void registerChild(Child entry, ChildFactory factory);
    QAbstractButton *menuButton(Child entry) const;

    // Opens a working window: shows the wait window, closes and discards the
    // current child, suspends redrawing, creates the child and shows it
    // maximised, then resumes redrawing and discards the wait window, also on
    // failure (the failure is reported through the message service). A child
    // that refuses to close stays, and nothing new opens. True when the new
    // child is open.
    bool openChild(const ChildFactory &factory);
    // The working window open now (the widget inside its MDI frame), or null.
    QWidget *currentChild() const;
    // Closes and discards the current child; false if it refused to close.
    bool closeCurrentChild();
    QMdiArea *mdiArea() const { return m_mdi; }

    // The exercise pane: "Ex: " + year.
    void setExerciseYear(const QString &year);

    // The cancel flag: 1 asks the running generation to stop. The generation
    // window sets and clears it; the running walk polls it.
    generation::CancelFlag &cancel() { return m_cancelFlag; }
    quint8 cancelFlag() const { return m_cancelFlag.isSet() ? 1 : 0; }
    void setCancelFlag(quint8 value) { value ? m_cancelFlag.set() : m_cancelFlag.clear(); }

    // Enables or disables the seven menu buttons (entries without a window
    // stay disabled). The exit buttons are not affected.
    void setMenuEnabled(bool enabled);
    bool isMenuEnabled() const { return m_menuEnabled; }

    // Start-up steps run once, on the first showing, after the window is up
    // (connection, catalogue file, exercise year, chart check). Returning
    // false ends the program: the window closes without a question.
    // Exceptions are reported and the window stays open.
    std::function<bool()> onFirstShow;
    bool endedAtStartup() const { return m_endedAtStartup; }

public slots:
    // Both exit buttons: close the open child, or ask and end the program.
    void btnsairClick();
    // "Módulo Captura": the court's capture application in the system browser.
    void btnmoduloClick();
    void btngeradorClick() { openEntry(Child::Gerador); }
    void btnReceitaClick() { openEntry(Child::Receita); }
    void BtnDespesaClick() { openEntry(Child::Despesa); }
    void btnrestosClick() { openEntry(Child::Restos); }
    void BtnGarantiaClick() { openEntry(Child::Garantia); }
    void BtndadosClick() { openEntry(Child::Dados); }

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void buildBanner(QWidget *banner);
    QWidget *buildMenuColumn();
    void buildStatusBar();
    void refreshMenu();
    void refreshClock();
    void openEntry(Child entry);
    void runFirstShow();
    QMdiSubWindow *activeChild() const;

    QMdiArea *m_mdi = nullptr;
    std::array<MenuButton *, kChildCount> m_childButtons{};
    std::array<ChildFactory, kChildCount> m_factories;
    MenuButton *m_btnModulo = nullptr;
    BannerButton *m_btnSair = nullptr;
    BannerButton *m_speedButton1 = nullptr;
    QLabel *m_exerc = nullptr;
    QLabel *m_clock = nullptr;
    QLabel *m_date = nullptr;
    QLabel *m_vrs = nullptr;
    QTimer *m_clockTimer = nullptr;
    QPointer<QMdiSubWindow> m_child;
    generation::CancelFlag m_cancelFlag;
    bool m_menuEnabled = true;
    bool m_opening = false;
    bool m_shown = false;
    bool m_endedAtStartup = false;
};

} // namespace orven::ui

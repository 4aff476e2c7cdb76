#pragma once

#include "common/Progress.h"

#include <QPointer>
#include <QWidget>

class QLabel;

namespace orven::ui {

// The wait window's thin bar: 20 light-green boxes one pixel apart, no text.
class WaitProgressBar : public QWidget {
    Q_OBJECT
public:
    static constexpr int kBoxes = 20;

    explicit WaitProgressBar(QWidget *parent = nullptr);

    qint64 minimum() const { return m_minimum; }
    qint64 maximum() const { return m_maximum; }
    qint64 position() const { return m_position; }
    void setMinimum(qint64 minimum);
    void setMaximum(qint64 maximum);
    void setPosition(qint64 position);
    void stepBy(qint64 steps);
    // Boxes drawn lit for the present position (0 to kBoxes).
    int litBoxes() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    qint64 m_minimum = 0;
    qint64 m_maximum = 1;
    qint64 m_position = 0;
};

// "Aguarde...": the small borderless box shown while a window opens or long
// work runs, optionally with a progress bar. One exists at a time; the
// program-wide reference is current().
class TfrmAguardeVista : public QWidget {
    Q_OBJECT
public:
    static constexpr int kWidth = 187;
    static constexpr int kHeight = 45;
    static constexpr int kOpacity = 220; // of 255

    explicit TfrmAguardeVista(QWidget *parent = nullptr);
    ~TfrmAguardeVista() override;

    // The wait window in existence, or null.
    static TfrmAguardeVista *current();
    // Discards the wait window in existence, creates a new one, shows it and
    // paints it at once so that it is seen before the work starts.
    static TfrmAguardeVista *open();
    // Discards the wait window in existence, if any.
    static void discard();

    WaitProgressBar *progress() const { return PROGRESS; }
    QLabel *caption() const { return lblCaption; }

protected:
    void showEvent(QShowEvent *event) override;

private:
    QWidget *Img;
    QLabel *lblCaption;
    WaitProgressBar *PROGRESS;
};

// Progress of long work on a wait window's bar: setMaximum shows the bar,
// every advance moves it and lets the program process its pending events.
// Only level 0 is drawn; other levels are counted nowhere.
class WaitProgress final : public Progress {
public:
    explicit WaitProgress(TfrmAguardeVista *window = nullptr) : m_window(window) {}
    void setWindow(TfrmAguardeVista *window) { m_window = window; }

    void setMaximum(qint64 maximum, int level = 0) override;
    void setPosition(qint64 position, int level = 0) override;
    void advance(qint64 steps = 1, int level = 0) override;

private:
    QPointer<TfrmAguardeVista> m_window;
};

// Shows the wait window for the lifetime of the scope and discards it on the
// way out, also when the work throws.
class WaitWindowScope {
public:
    WaitWindowScope();
    ~WaitWindowScope();
    WaitWindowScope(const WaitWindowScope &) = delete;
    WaitWindowScope &operator=(const WaitWindowScope &) = delete;

    TfrmAguardeVista *window() const { return m_window; }
    // Progress on this window's bar.
    Progress &progress() { return m_progress; }

private:
    QPointer<TfrmAguardeVista> m_window;
    WaitProgress m_progress;
};

} // namespace orven::ui

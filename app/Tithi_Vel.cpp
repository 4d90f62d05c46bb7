#include "app/Tithi_Vel.h"

#include "almanac/Entries.h"
#include "almanac/Pair.h"
#include "app/BirthPanel.h"
#include "app/ChartDrawing.h"
#include "app/ChartPrinter.h"
#include "app/ChartView.h"
#include "app/DayPanel.h"
#include "app/DayPrinter.h"
#include "app/MessageBox.h"
#include "app/Settings.h"
#include "app/Shell.h"
#include "form/Details.h"
#include "form/Messages.h"
#include "velmorant/Version.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QPalette>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QScreen>
#include <QScrollArea>
#include <QShortcut>
#include <QStandardPaths>
#include <QStringList>
#include <QStyle>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <limits>
#include <stdexcept>

namespace {

// The layout is drawn in twips; at 96 dots per inch 15 twips make one pixel.
constexpr int px(int twips) {
    return twips / 15;
}

// The design size of the window, and the extent of its controls (the right edge of the inner yoga line,
// the foot of the footer), which the window never gets smaller than.
constexpr QSize kDesignSize(px(4680), px(3090));
constexpr QSize kControlsExtent(px(2880 + 8055), px(8640 + 495));

// The free area begins a little right of the original controls and takes the rest of the window; in a
// small window it keeps at least this much room and scrolls.
constexpr int kFreeAreaLeft = kControlsExtent.width() + 16;
constexpr int kFreeAreaLeast = 240;
// The size the window first opens at, where no window manager maximizes it: the controls and the free
// area together on a 1280 x 1024 screen.
constexpr QSize kOpeningSize(1240, 940);

const QColor kLightYellow(255, 255, 192);
const QColor kDarkBlue(0, 0, 192);
const QColor kPurple(192, 0, 192);
const QColor kBlue(0, 0, 255);

// The nearest faces to the classic Windows sans and serif, sized in pixels so that text fits its label
// whatever the screen's reported resolution.
QFont styleFont(const QStringList& families, QFont::StyleHint hint, int pixels, bool bold) {
    QFont font;
    font.setFamilies(families);
    font.setStyleHint(hint);
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

QFont headingFont() { // 18 pt
    return styleFont({"Liberation Sans", "Arial"}, QFont::SansSerif, 24, true);
}
QFont captionFont() { // 9.75 pt
    return styleFont({"Liberation Sans", "Arial"}, QFont::SansSerif, 13, true);
}
// The classic toolkit's own default, MS Sans Serif 8 pt, for the lists, the name box and the buttons.
QFont controlFont() {
    return styleFont({"Liberation Sans", "Arial"}, QFont::SansSerif, 11, false);
}
QFont resultFont() { // 9.75 pt
    return styleFont({"Liberation Serif", "Times New Roman"}, QFont::Serif, 13, false);
}

void setTextColour(QWidget* widget, const QColor& colour) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, colour);
    widget->setPalette(palette);
}

QStringList entries(const std::vector<std::string>& texts) {
    QStringList list;
    for (const std::string& text : texts)
        list.append(QString::fromStdString(text));
    return list;
}

// Result lines: caption label, its caption, the value label, the value's width (twips), at each top.
struct ResultLine {
    int top;
    int lbl;
    const char* caption;
    std::array<std::unique_ptr<QtLabel>, 2> Tithi_Vel::*values;
    int pair;
    int width;
};

} // namespace

Tithi_Vel::Tithi_Vel(form::Database& db, QWidget* parent)
    : QWidget(parent)
    , m_logic(*this, db)
    , m_db(db) {
    setObjectName("Tithi_Vel");
    setWindowTitle("Velmorant");
    setWindowIcon(QIcon::fromTheme("velmorant"));
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, kLightYellow);
    setPalette(palette);
    setAutoFillBackground(true);
    resize(kDesignSize);
    buildLayout();
    buildFreeArea();
    setMinimumSize(kFreeAreaLeft + kFreeAreaLeast, kControlsExtent.height());

    // Charts saved, renamed or deleted by another desk or program show in the list within a second.
    // Not while a dialog or message is open: a handler is then half-way through its work.
    auto* changes = new QTimer(this);
    changes->setObjectName("changesElsewhere");
    connect(changes, &QTimer::timeout, this, [this] {
        if (isVisible() && !QApplication::activeModalWidget() && !QApplication::activePopupWidget())
            form::guarded(app::shell(), [this] { m_logic.checkForChangesElsewhere(); });
    });
    changes->start(kChangesInterval);
}

Tithi_Vel::~Tithi_Vel() = default;

QLabel* Tithi_Vel::addLabel(const QString& name, const QString& caption, int left, int top, int width,
                            int height) {
    auto* label = new QLabel(caption, this);
    label->setObjectName(name);
    label->setGeometry(px(left), px(top), px(width), px(height));
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(false);
    return label;
}

SelectorView* Tithi_Vel::addList(const QString& name, QAbstractItemModel* model, int left, int top, int width,
                                 int height) {
    auto* list = new SelectorView(model, this);
    list->setObjectName(name);
    list->setGeometry(px(left), px(top), px(width), px(height));
    list->setFont(controlFont());
    return list;
}

CommandButton* Tithi_Vel::addButton(const QString& name, const QString& caption, int left) {
    auto* button = new CommandButton(caption, this);
    button->setObjectName(name);
    button->setGeometry(px(left), px(3480), px(1455), px(255));
    button->setFont(controlFont());
    return button;
}

void Tithi_Vel::buildLayout() {
    const auto caption = [](QLabel* label, const QColor* colour) {
        label->setFont(captionFont());
        if (colour)
            setTextColour(label, *colour);
        return label;
    };

    addLabel("Label1", "Internal and External Velmorant", 480, 240, 6015, 495)->setFont(headingFont());

    m_lblnm4 = std::make_unique<QtLabel>(
        caption(addLabel("lblnm(4)", "Click to open -->", 480, 960, 1695, 255), nullptr));
    auto* namesModel = new ChartNamesModel(this);
    SelectorView* names = addList("lstname", namesModel, 2400, 960, 2655, 225);
    names->setAccessibleName("Stored names");
    QPalette yellowBase = names->palette();
    yellowBase.setColor(QPalette::Base, kLightYellow);
    names->setPalette(yellowBase);
    m_lstname = std::make_unique<QtNameList>(names, namesModel);
    connect(names, &SelectorView::chosen, this, &Tithi_Vel::lstname_Click);
    // Its menu opens with a right click, the Menu key or Shift+F10; Delete deletes.
    names->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(names, &QWidget::customContextMenuRequested, this, [this, names](const QPoint& at) {
        std::unique_ptr<QMenu> menu(namesMenu());
        menu->exec(names->viewport()->mapToGlobal(at));
    });
    // Shift+F10 is the menu's key where a keyboard has no Menu key; Qt sends only the Menu key itself.
    auto* menuKey =
        new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F10), names, nullptr, nullptr, Qt::WidgetShortcut);
    connect(menuKey, &QShortcut::activated, this, [names] {
        const QModelIndex at = names->currentIndex();
        emit names->customContextMenuRequested(at.isValid() ? names->visualRect(at).center() : QPoint(0, 0));
    });
    auto* deleteKey = new QShortcut(QKeySequence::Delete, names, nullptr, nullptr, Qt::WidgetShortcut);
    connect(deleteKey, &QShortcut::activated, this, &Tithi_Vel::deleteChart);

    m_lblplanet[form::kNameCaption] = std::make_unique<QtLabel>(
        caption(addLabel("lblplanet(4)", "Enter Name", 720, 1440, 1455, 255), &kPurple));
    auto* nameBox = new QLineEdit(this);
    nameBox->setObjectName("txtname");
    nameBox->setGeometry(px(2400), px(1440), px(2415), px(285));
    nameBox->setFont(controlFont());
    nameBox->setMaxLength(std::numeric_limits<int>::max());
    nameBox->setAccessibleName("Name");
    m_txtname = std::make_unique<QtTextBox>(nameBox);
    connect(nameBox, &QLineEdit::textEdited, this, &Tithi_Vel::rowsEdited);

    // The selectors of one kind share their entries.
    std::vector<std::string> signs(almanac::kSignEntries.begin(), almanac::kSignEntries.end());
    auto* signModel = new QStringListModel(entries(signs), this);
    auto* degreeModel = new QStringListModel(entries(almanac::numberEntries(almanac::kDegreesPerSign)), this);
    auto* minuteModel =
        new QStringListModel(entries(almanac::numberEntries(almanac::kMinutesPerDegree)), this);

    for (int row = 0; row < form::kBodyRows; ++row) {
        const auto i = static_cast<std::size_t>(row);
        const int top = 2040 + 240 * row;
        const QString body =
            QString::fromUtf8(almanac::kBodyCaptions[i].data(), almanac::kBodyCaptions[i].size());
        const QString index = QString("(%1)").arg(row);
        m_lblplanet[i] = std::make_unique<QtLabel>(
            caption(addLabel("lblplanet" + index, body, 840, top, 975, 255), &kPurple));

        SelectorView* sign = addList("lstsign" + index, signModel, 2400, top, 1215, 255);
        SelectorView* degree = addList("lstdeg" + index, degreeModel, 3720, top, 855, 255);
        SelectorView* minute = addList("lstmin" + index, minuteModel, 4680, top, 735, 255);
        sign->setAccessibleName(body + " sign");
        degree->setAccessibleName(body + " degrees");
        minute->setAccessibleName(body + " minutes");
        m_lstsign[i] = std::make_unique<QtSelector>(sign);
        m_lstdeg[i] = std::make_unique<QtSelector>(degree);
        m_lstmin[i] = std::make_unique<QtSelector>(minute);
        for (SelectorView* view : {sign, degree, minute})
            connect(view, &SelectorView::chosen, this, &Tithi_Vel::rowsEdited);
    }

    // Alt and the underlined letter presses each button; its caption as read stays the same.
    m_cmd_calc = addButton("cmd_calc", "&Calculate", 720);
    m_cmd_save = addButton("cmd_save", "&Save", 2520);
    m_cmd_exit = addButton("cmd_exit", "E&xit", 4440);
    connect(m_cmd_calc, &QPushButton::clicked, this, &Tithi_Vel::cmd_calc_Click);
    connect(m_cmd_save, &QPushButton::clicked, this, &Tithi_Vel::cmd_save_Click);
    connect(m_cmd_exit, &QPushButton::clicked, this, &Tithi_Vel::cmd_exit_Click);

    const ResultLine lines[] = {
        {4200, 1, "Nakshatra", &Tithi_Vel::m_lblnak, form::kExternal, 3375},
        {4680, 0, "External Tithi", &Tithi_Vel::m_lbltithi, form::kExternal, 7815},
        {5160, 2, "External Yoga", &Tithi_Vel::m_lblyoga, form::kExternal, 7935},
        {5640, 3, "External Karana", &Tithi_Vel::m_lblkarana, form::kExternal, 3375},
        {6120, 7, "Nakshatra", &Tithi_Vel::m_lblnak, form::kInternal, 3375},
        {6600, 4, "Internal Tithi", &Tithi_Vel::m_lbltithi, form::kInternal, 7935},
        {7080, 5, "Internal Yoga", &Tithi_Vel::m_lblyoga, form::kInternal, 8055},
        {7560, 6, "Internal Karana", &Tithi_Vel::m_lblkarana, form::kInternal, 3375},
    };
    const char* const valueNames[] = {"lblnak", "lbltithi", "lblyoga", "lblkarana"};
    for (std::size_t n = 0; n < std::size(lines); ++n) {
        const ResultLine& line = lines[n];
        QLabel* lineCaption = caption(
            addLabel(QString("lbl(%1)").arg(line.lbl), line.caption, 480, line.top, 1815, 255), &kDarkBlue);
        m_lbl[static_cast<std::size_t>(line.lbl)] = std::make_unique<QtLabel>(lineCaption);
        QLabel* value = addLabel(QString("%1(%2)").arg(valueNames[n % 4]).arg(line.pair), "", 2880, line.top,
                                 line.width, 255);
        value->setFont(resultFont());
        // A screen reader reads the value labelled by its caption: "External Tithi, Shukla Panchami ...".
        lineCaption->setBuddy(value);
        (this->*line.values)[static_cast<std::size_t>(line.pair)] = std::make_unique<QtLabel>(value);
    }

    QLabel* copyright = caption(
        addLabel("Label8", "Copyright \u00a9 2026 the Velmorant developers", 600, 8280, 5415, 375), nullptr);
    QLabel* website = caption(addLabel("Label10", "Velmorant on the web", 1680, 8640, 3615, 495), &kBlue);
    website->setProperty("webAddress", "https://velmorant.invalid/");
    for (QLabel* footer : {copyright, website})
        footer->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
}

void Tithi_Vel::buildFreeArea() {

    // What the results were calculated from, and a warning once the rows no longer show it.
    // Which shared store the charts are on, for a window on a server; a window on its file says nothing.
    if (m_db.con->isServer()) {
        m_storeName = new QLabel(
            QStringLiteral("Charts on the server: %1").arg(QString::fromStdString(m_db.con->where())));
        m_storeName->setObjectName("chartStore");
        m_storeName->setTextFormat(Qt::PlainText);
        m_storeName->setWordWrap(true);
    }
    m_resultsSource = new QLabel;
    m_resultsSource->setObjectName("resultsSource");
    m_resultsSource->setWordWrap(true);
    m_resultsSource->setTextFormat(Qt::PlainText);
    m_resultsSource->hide();
    m_staleWarning = new QLabel;
    m_staleWarning->setObjectName("staleWarning");
    m_staleWarning->setWordWrap(true);
    m_staleWarning->setTextFormat(Qt::PlainText);
    QFont warningFont = m_staleWarning->font();
    warningFont.setBold(true);
    m_staleWarning->setFont(warningFont);
    setTextColour(m_staleWarning, QColor(160, 0, 0));
    m_staleWarning->hide();

    m_tabs = new QTabWidget;
    m_tabs->setObjectName("freeTabs");
    m_birthPanel = new BirthPanel(nullptr);
    // The birth data scrolls within its tab only when the window is too low for it.
    m_birthScroll = new QScrollArea;
    m_birthScroll->setObjectName("birthScroll");
    m_birthScroll->setFrameShape(QFrame::NoFrame);
    m_birthScroll->setWidgetResizable(true);
    m_birthScroll->setWidget(m_birthPanel);
    m_birthScroll->setFocusPolicy(Qt::NoFocus); // it only holds controls; it is no stop of its own
    m_tabs->addTab(m_birthScroll, "&Birth data");
    connect(m_birthPanel->fillButton(), &QPushButton::clicked, this, &Tithi_Vel::cmd_fill_Click);
    // The choices made are remembered one by one, so that a recalled chart's zone, say, is not taken
    // along with a change of ayanamsa.
    connect(m_birthPanel, &BirthPanel::choiceChanged, this, [this](BirthPanel::Choice choice) {
        const store::BirthData shown = m_birthPanel->birthData();
        store::BirthData kept = m_birthPanel->defaults();
        switch (choice) {
        case BirthPanel::Choice::Zone:
            kept.zone = shown.zone;
            break;
        case BirthPanel::Choice::Ayanamsa:
            kept.ayanamsa = shown.ayanamsa;
            break;
        case BirthPanel::Choice::Karakas:
            kept.karakas = shown.karakas;
            break;
        case BirthPanel::Choice::Node:
            kept.node = shown.node;
            break;
        }
        settings::setBirthChoices(kept);
        m_birthPanel->setDefaults(kept);
    });
    connect(m_birthPanel, &BirthPanel::edited, this, &Tithi_Vel::rowsEdited);
    m_birthPanel->setDefaults(settings::birthChoices(m_birthPanel->birthData()));
    m_birthPanel->clear();

    // The Wheel tab: the chart in the style chosen, with its choice of style and its image commands
    // over it, where they cost the drawing the least room.
    auto* chartPage = new QWidget;
    chartPage->setObjectName("chartPage");
    auto* styleCaption = new QLabel("Chart st&yle:");
    m_chartStyle = new QComboBox;
    m_chartStyle->setObjectName("chartStyle");
    m_chartStyle->setAccessibleName("Chart style");
    for (const form::ChartStyle style : form::kChartStyles)
        m_chartStyle->addItem(QString::fromUtf8(form::chartStyleLabel(style).data(),
                                                static_cast<qsizetype>(form::chartStyleLabel(style).size())));
    styleCaption->setBuddy(m_chartStyle);
    m_saveImage = new CommandButton("Sa&ve image…", nullptr);
    m_saveImage->setObjectName("saveChartImage");
    m_saveImage->setAccessibleName("Save chart image");
    m_saveImage->setToolTip("Save the chart as drawn here as a PNG or SVG image");
    m_copyImage = new CommandButton("Copy i&mage", nullptr);
    m_copyImage->setObjectName("copyChartImage");
    m_copyImage->setAccessibleName("Copy chart image");
    m_copyImage->setToolTip("Copy the chart as drawn here to the clipboard, as an image");
    m_chart = new ChartView(nullptr);
    const form::ChartStyle keptStyle = settings::chartStyle();
    m_chartStyle->setCurrentIndex(static_cast<int>(keptStyle));
    m_chart->setChartStyle(keptStyle);
    connect(m_chartStyle, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index < 0 || index >= static_cast<int>(form::kChartStyles.size()))
            return;
        const form::ChartStyle style = form::kChartStyles[static_cast<std::size_t>(index)];
        m_chart->setChartStyle(style);
        settings::setChartStyle(style);
    });
    connect(m_saveImage, &QPushButton::clicked, this, &Tithi_Vel::saveChartImage);
    connect(m_copyImage, &QPushButton::clicked, this, &Tithi_Vel::copyChartImage);
    auto* chartCommands = new QHBoxLayout;
    chartCommands->addWidget(styleCaption);
    chartCommands->addWidget(m_chartStyle);
    chartCommands->addSpacing(12);
    chartCommands->addWidget(m_saveImage);
    chartCommands->addWidget(m_copyImage);
    chartCommands->addStretch();
    auto* chartLayout = new QVBoxLayout(chartPage);
    chartLayout->setContentsMargins(4, 4, 4, 0);
    chartLayout->addLayout(chartCommands);
    chartLayout->addWidget(m_chart, 1);
    m_tabs->addTab(chartPage, "&Wheel");
    m_details = new QPlainTextEdit;
    m_details->setObjectName("details");
    m_details->setAccessibleName("Details");
    m_details->setReadOnly(true);
    m_details->setTabChangesFocus(true);
    // A caret to read by, line by line, as a screen reader does.
    m_details->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    m_details->setPlaceholderText("The results and their details are reckoned by Calculate.");
    m_details->setToolTip("Every result by name, and its details (Alt+R from anywhere)");
    m_tabs->addTab(m_details, "&Details");
    // The Day tab: the day's panchanga at a place, or its month; it scrolls, like the birth data, only
    // when the window is too low for it. Its controls are made when it is first shown, so that the
    // window's start does not wait for them.
    m_dayScroll = new QScrollArea;
    m_dayScroll->setObjectName("dayScroll");
    m_dayScroll->setFrameShape(QFrame::NoFrame);
    m_dayScroll->setWidgetResizable(true);
    m_dayScroll->setFocusPolicy(Qt::NoFocus);
    m_tabs->addTab(m_dayScroll, "D&ay");
    connect(m_tabs, &QTabWidget::currentChanged, this, [this](int tab) {
        if (m_tabs->widget(tab) == m_dayScroll && !m_dayPanel) {
            m_dayPanel = new DayPanel(
                *this, [this]() -> sky::Ephemeris& { return m_logic.ephemeris(); }, nullptr);
            m_dayScroll->setWidget(m_dayPanel);
        }
        showPendingDetails();
        namePrintButtons();
        settings::setFreeAreaTab(tab);
    });

    m_print = new CommandButton("&Print…", nullptr);
    m_print->setObjectName("printChart");
    m_export = new CommandButton("&Export PDF…", nullptr);
    m_export->setObjectName("exportChart");
    m_tabs->setCurrentIndex(std::clamp(settings::freeAreaTab(), 0, m_tabs->count() - 1));
    namePrintButtons();
    m_exportCharts = new CommandButton("Exp&ort charts…", nullptr);
    m_exportCharts->setObjectName("exportCharts");
    m_exportCharts->setToolTip("Write every stored chart to a CSV or JSON file");
    m_importCharts = new CommandButton("&Import charts…", nullptr);
    m_importCharts->setObjectName("importCharts");
    m_importCharts->setToolTip("Store the charts of a CSV or JSON file; names stored already are skipped");
    connect(m_exportCharts, &QPushButton::clicked, this, &Tithi_Vel::exportCharts);
    connect(m_importCharts, &QPushButton::clicked, this, &Tithi_Vel::importCharts);
    connect(m_print, &QPushButton::clicked, this, &Tithi_Vel::printChart);
    connect(m_export, &QPushButton::clicked, this, &Tithi_Vel::exportChart);

    // The window's own keys, which work from every control: text boxes do not keep them for themselves
    // (see eventFilter()).
    const auto windowKey = [this](const QKeySequence& key, auto slot) {
        m_windowKeys.append(key);
        connect(new QShortcut(key, this), &QShortcut::activated, this, slot);
    };
    windowKey(QKeySequence(Qt::CTRL | Qt::Key_P), &Tithi_Vel::printChart);
    windowKey(QKeySequence(Qt::CTRL | Qt::Key_E), &Tithi_Vel::exportChart);
    windowKey(QKeySequence(Qt::ALT | Qt::Key_R), &Tithi_Vel::showResultsText);
    windowKey(QKeySequence(Qt::CTRL | Qt::Key_Tab), [this] { turnTab(1); });
    windowKey(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab), [this] { turnTab(-1); });
    windowKey(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab), [this] { turnTab(-1); });
    m_windowKeys += DayPanel::keys(); // the Day tab's own, while it shows
    qApp->installEventFilter(this);

    auto* content = new QWidget;
    content->setObjectName("freeContent");
    auto* layout = new QVBoxLayout(content);
    layout->setContentsMargins(0, 8, 8, 8);
    if (m_storeName)
        layout->addWidget(m_storeName);
    layout->addWidget(m_resultsSource);
    layout->addWidget(m_staleWarning);
    layout->addWidget(m_tabs, 1);
    // The buttons stay under the tabs, in the same place whichever tab is showing.
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_print);
    buttons->addWidget(m_export);
    buttons->addStretch();
    buttons->addWidget(m_exportCharts);
    buttons->addWidget(m_importCharts);
    layout->addLayout(buttons);

    // The free area fills the rest of the window and scrolls only in a window too small for it.
    m_freeArea = new QScrollArea(this);
    m_freeArea->setObjectName("freeArea");
    m_freeArea->setFrameShape(QFrame::NoFrame);
    m_freeArea->setWidgetResizable(true);
    m_freeArea->setWidget(content);
    m_freeArea->setBackgroundRole(QPalette::Window);
    m_freeArea->viewport()->setAutoFillBackground(false);
    m_freeArea->setFocusPolicy(Qt::NoFocus);
    // A control the focus reaches is scrolled into view.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        if (now && m_birthPanel->isAncestorOf(now))
            m_birthScroll->ensureWidgetVisible(now);
        if (now && m_dayPanel && m_dayPanel->isAncestorOf(now))
            m_dayScroll->ensureWidgetVisible(now);
        if (now && m_freeArea->widget()->isAncestorOf(now))
            m_freeArea->ensureWidgetVisible(now);
    });
}

void Tithi_Vel::turnTab(int step) {
    const int count = m_tabs->count();
    m_tabs->setCurrentIndex((m_tabs->currentIndex() + step + count) % count);
}

void Tithi_Vel::showResultsText() {
    // A focus on the page being hidden goes straight to the details, not by way of the next control,
    // which a screen reader would announce (see focusNextPrevChild()).
    m_focusGoingToResults = true;
    m_tabs->setCurrentWidget(m_details);
    m_focusGoingToResults = false;
    m_details->moveCursor(QTextCursor::Start);
    m_details->setFocus(Qt::ShortcutFocusReason);
}

QList<QWidget*> Tithi_Vel::tabStops() const {
    QList<QWidget*> stops{m_lstname->view(), m_txtname->widget()};
    for (int row = 0; row < form::kBodyRows; ++row) {
        const auto i = static_cast<std::size_t>(row);
        stops += {m_lstsign[i]->view(), m_lstdeg[i]->view(), m_lstmin[i]->view()};
    }
    stops += {m_cmd_calc, m_cmd_save, m_cmd_exit, m_tabs->tabBar()};
    stops += m_birthPanel->tabOrder();
    stops += {m_chartStyle, m_saveImage, m_copyImage, m_chart};
    stops += m_details;
    if (m_dayPanel)
        stops += m_dayPanel->tabOrder();
    stops += {m_print, m_export, m_exportCharts, m_importCharts};
    return stops;
}

bool Tithi_Vel::focusNextPrevChild(bool next) {
    if (m_focusGoingToResults)
        return true;
    // One cycle through the whole window, in the order the controls stand, and round again: the
    // controls of the tab that is not showing are skipped.
    QList<QWidget*> stops = tabStops();
    stops.removeIf([](const QWidget* stop) {
        return !stop->isVisible() || !stop->isEnabled() || !(stop->focusPolicy() & Qt::TabFocus);
    });
    QWidget* const now = QApplication::focusWidget();
    const auto at = std::find_if(stops.cbegin(), stops.cend(), [now](const QWidget* stop) {
        return stop == now || stop->isAncestorOf(now);
    });
    if (stops.isEmpty() || at == stops.cend())
        return QWidget::focusNextPrevChild(next);
    const qsizetype count = stops.size();
    const qsizetype to = ((at - stops.cbegin()) + (next ? 1 : count - 1)) % count;
    stops[to]->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
    return true;
}

bool Tithi_Vel::eventFilter(QObject* watched, QEvent* event) {
    // A text box takes some of the window's keys for its own (Ctrl+E moves to the end of the line);
    // these keys are the window's, whichever control has the focus.
    if (event->type() == QEvent::ShortcutOverride) {
        const auto* widget = qobject_cast<QWidget*>(watched);
        if (widget && widget->window() == this) {
            const QKeySequence pressed(static_cast<QKeyEvent*>(event)->keyCombination());
            if (m_windowKeys.contains(pressed)) {
                event->ignore();
                return true;
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

void Tithi_Vel::showResultsSource(std::string_view source, std::string_view staleWarning) {
    const auto show = [](QLabel* label, std::string_view text) {
        label->setText(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
        label->setVisible(!text.empty());
    };
    show(m_resultsSource, source);
    show(m_staleWarning, staleWarning);
    m_chart->setSource(source.empty() ? QString() : m_resultsSource->text());
}

QMenu* Tithi_Vel::namesMenu() {
    auto* menu = new QMenu(this);
    const bool chosen = m_lstname->listIndex() >= 0;
    menu->addAction("Rename…", this, &Tithi_Vel::renameChart)->setEnabled(chosen);
    menu->addAction("Delete…", this, &Tithi_Vel::deleteChart)->setEnabled(chosen);
    menu->addSeparator();
    menu->addAction("Export charts…", this, &Tithi_Vel::exportCharts);
    menu->addAction("Import charts…", this, &Tithi_Vel::importCharts);
    return menu;
}

void Tithi_Vel::renameChart() {
    form::guarded(app::shell(), [this] { m_logic.storedCharts().renameChart(); });
}

void Tithi_Vel::deleteChart() {
    form::guarded(app::shell(), [this] { m_logic.storedCharts().deleteChart(); });
}

namespace {

const QString kChartFiles = "Charts (*.csv *.json);;CSV (*.csv);;JSON (*.json)";

} // namespace

void Tithi_Vel::exportCharts() {
    const QString path = QFileDialog::getSaveFileName(
        this, "Export charts", settings::folder(settings::Dialog::ExportCharts) + "/charts.csv", kChartFiles);
    if (path.isEmpty())
        return;
    settings::rememberFile(settings::Dialog::ExportCharts, path);
    exportChartsTo(path);
}

void Tithi_Vel::importCharts() {
    const QString path = QFileDialog::getOpenFileName(
        this, "Import charts", settings::folder(settings::Dialog::ImportCharts), kChartFiles);
    if (path.isEmpty())
        return;
    settings::rememberFile(settings::Dialog::ImportCharts, path);
    importChartsFrom(path);
}

void Tithi_Vel::exportChartsTo(const QString& path) {
    form::guarded(app::shell(), [&] { m_logic.storedCharts().exportCharts(path.toStdString()); });
}

void Tithi_Vel::importChartsFrom(const QString& path) {
    form::guarded(app::shell(), [&] { m_logic.storedCharts().importCharts(path.toStdString()); });
}

void Tithi_Vel::showChart(const form::ChartPicture& picture) {
    m_chart->showPicture(picture);
}

void Tithi_Vel::showDetails(const std::vector<std::string>& lines) {
    QStringList text;
    for (const std::string& line : lines)
        text.append(QString::fromStdString(line));
    m_pendingDetails = text.join('\n');
    // Laying the text out is most of what "Calculate" costs; it waits until the tab is shown.
    if (m_details->isVisible())
        showPendingDetails();
}

void Tithi_Vel::showPendingDetails() {
    if (m_pendingDetails) {
        m_details->setPlainText(*m_pendingDetails);
        m_pendingDetails.reset();
    }
}

bool Tithi_Vel::dayShowing() const {
    return m_dayPanel && m_tabs->currentWidget() == m_dayScroll;
}

void Tithi_Vel::namePrintButtons() {
    // The Day tab prints what it shows: the month while its grid shows, else the day.
    const bool day = dayShowing();
    m_print->setAccessibleName(day ? "Print day or month" : "Print chart");
    m_print->setToolTip(day ? "Print the day, or the month while its grid shows, on one page (Ctrl+P)"
                            : "Print the chart on one page (Ctrl+P)");
    m_export->setAccessibleName(day ? "Export day or month as PDF" : "Export chart as PDF");
    m_export->setToolTip(day ? "Save the day, or the month while its grid shows, as a one-page PDF (Ctrl+E)"
                             : "Save the chart as a one-page PDF (Ctrl+E)");
}

void Tithi_Vel::printDay() {
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(defaultPageSize());
    if (m_dayPanel->monthShowing()) {
        const form::MonthSheet* month = m_dayPanel->monthToPrint();
        if (!month)
            return;
        printer.setDocName(monthPdfFileName(*month).chopped(4));
        QPrintDialog dialog(&printer, this);
        if (dialog.exec() == QDialog::Accepted)
            printMonth(printer, *month);
        return;
    }
    const form::DaySheet* day = m_dayPanel->dayToPrint();
    if (!day)
        return;
    printer.setDocName(dayPdfFileName(*day).chopped(4));
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() == QDialog::Accepted)
        ::printDay(printer, *day);
}

void Tithi_Vel::exportDay() {
    QString name;
    if (m_dayPanel->monthShowing()) {
        const form::MonthSheet* month = m_dayPanel->monthToPrint();
        if (!month)
            return;
        name = monthPdfFileName(*month);
    } else {
        const form::DaySheet* day = m_dayPanel->dayToPrint();
        if (!day)
            return;
        name = dayPdfFileName(*day);
    }
    const QString path = QFileDialog::getSaveFileName(
        this, "Export as PDF", settings::folder(settings::Dialog::ChartPdf) + "/" + name, "PDF (*.pdf)");
    if (path.isEmpty())
        return;
    settings::rememberFile(settings::Dialog::ChartPdf, path);
    exportDayTo(path);
}

void Tithi_Vel::exportDayTo(const QString& path) {
    std::optional<QString> problem;
    if (m_dayPanel->monthShowing()) {
        const form::MonthSheet* month = m_dayPanel->monthToPrint();
        if (!month)
            return;
        problem = exportMonthPdf(*month, path);
    } else {
        const form::DaySheet* day = m_dayPanel->dayToPrint();
        if (!day)
            return;
        problem = exportDayPdf(*day, path);
    }
    if (problem)
        showMessage(form::exportFailedMessage(path.toStdString(), problem->toStdString()));
}

void Tithi_Vel::printChart() {
    form::guarded(app::shell(), [this] {
        if (dayShowing())
            return printDay();
        const form::Report* report = m_logic.reportToPrint();
        if (!report)
            return;
        QPrinter printer(QPrinter::HighResolution);
        printer.setPageSize(defaultPageSize());
        printer.setDocName(pdfFileName(report->name).chopped(4)); // what a print to a file is called
        QPrintDialog dialog(&printer, this);
        if (dialog.exec() == QDialog::Accepted)
            printReport(printer, *report, m_chart->chartStyle());
    });
}

void Tithi_Vel::exportChart() {
    form::guarded(app::shell(), [this] {
        if (dayShowing())
            return exportDay();
        const form::Report* report = m_logic.reportToPrint();
        if (!report)
            return;
        const QString path = QFileDialog::getSaveFileName(
            this, "Export chart as PDF",
            settings::folder(settings::Dialog::ChartPdf) + "/" + pdfFileName(report->name), "PDF (*.pdf)");
        if (path.isEmpty())
            return;
        settings::rememberFile(settings::Dialog::ChartPdf, path);
        exportChartTo(path);
    });
}

void Tithi_Vel::exportChartTo(const QString& path) {
    form::guarded(app::shell(), [&] {
        if (dayShowing())
            return exportDayTo(path);
        const form::Report* report = m_logic.reportToPrint();
        if (!report)
            return;
        if (const auto problem = exportPdf(*report, path, m_chart->chartStyle()))
            showMessage(form::exportFailedMessage(path.toStdString(), problem->toStdString()));
    });
}

namespace {

const QString kPngFiles = "PNG image (*.png)";
const QString kSvgFiles = "SVG image (*.svg)";

} // namespace

const form::ChartPicture* Tithi_Vel::chartToImage() {
    if (m_chart->isEmpty())
        showMessage(form::kNothingToPrintMessage);
    return m_chart->picture() ? &*m_chart->picture() : nullptr;
}

void Tithi_Vel::saveChartImage() {
    form::guarded(app::shell(), [this] {
        const form::ChartPicture* picture = chartToImage();
        if (!picture)
            return;
        QString chosenFilter = kPngFiles;
        // The name is offered without its kind, which the kind chosen in the dialog then gives it.
        QString path = QFileDialog::getSaveFileName(this, "Save chart image",
                                                    settings::folder(settings::Dialog::ChartImage) + "/" +
                                                        pdfFileName(picture->name).chopped(4),
                                                    kPngFiles + ";;" + kSvgFiles, &chosenFilter);
        if (path.isEmpty())
            return;
        if (!path.endsWith(".png", Qt::CaseInsensitive) && !path.endsWith(".svg", Qt::CaseInsensitive))
            path += chosenFilter == kSvgFiles ? ".svg" : ".png";
        settings::rememberFile(settings::Dialog::ChartImage, path);
        saveChartImageTo(path);
    });
}

void Tithi_Vel::saveChartImageTo(const QString& path) {
    form::guarded(app::shell(), [&] {
        const form::ChartPicture* picture = chartToImage();
        if (!picture)
            return;
        if (const auto problem = ::saveChartImage(*picture, m_chart->chartStyle(), path))
            showMessage(form::exportFailedMessage(path.toStdString(), problem->toStdString()));
    });
}

void Tithi_Vel::copyChartImage() {
    form::guarded(app::shell(), [this] {
        const form::ChartPicture* picture = chartToImage();
        if (!picture)
            return;
        // As a picture for any program, and as SVG for those that take vectors.
        auto* image = new QMimeData;
        image->setImageData(chartImage(*picture, m_chart->chartStyle(), 1200));
        image->setData("image/svg+xml", chartSvg(*picture, m_chart->chartStyle()));
        QApplication::clipboard()->setMimeData(image);
    });
}

void Tithi_Vel::closeEvent(QCloseEvent* event) {
    settings::setWindowGeometry(saveGeometry());
    QWidget::closeEvent(event);
}

void Tithi_Vel::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    m_freeArea->setGeometry(kFreeAreaLeft, 0, width() - kFreeAreaLeft, height());
}

form::BirthPanel& Tithi_Vel::birthPanel() {
    return *m_birthPanel;
}

form::Label& Tithi_Vel::lblnm(int index) {
    if (index != form::kStoredNamesPrompt)
        throw std::out_of_range("lblnm has only the index 4");
    return *m_lblnm4;
}

void Tithi_Vel::showMessage(std::string_view text) {
    MessageBox::show(this, QString::fromUtf8(velmorant::kProductName),
                     QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

bool Tithi_Vel::askYesNo(std::string_view question) {
    return MessageBox::show(this, QString::fromUtf8(velmorant::kProductName),
                            QString::fromUtf8(question.data(), static_cast<qsizetype>(question.size())),
                            QMessageBox::Question, QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

std::optional<std::string> Tithi_Vel::askText(std::string_view prompt, std::string_view initial) {
    const QString start = QString::fromUtf8(initial.data(), static_cast<qsizetype>(initial.size()));
    const auto text =
        MessageBox::askText(this, QString::fromUtf8(velmorant::kProductName),
                            QString::fromUtf8(prompt.data(), static_cast<qsizetype>(prompt.size())), start);
    if (!text)
        return std::nullopt;
    // Text left as it was comes back as the bytes it started from: a name stored by an older program
    // that is not UTF-8 would otherwise come back with its bytes replaced.
    return *text == start ? std::string(initial) : text->toStdString();
}

void Tithi_Vel::Show() {
    m_logic.Form_Load();
    // As the user left it; the first time, maximized, and where no window manager maximizes it, at a
    // size that shows the free area beside the controls on a screen of 1280 x 1024 or more.
    if (const QByteArray kept = settings::windowGeometry(); !kept.isEmpty() && restoreGeometry(kept)) {
        show();
    } else {
        const QRect screen = this->screen()->availableGeometry();
        const QSize size = kOpeningSize.boundedTo(screen.size()).expandedTo(minimumSize());
        setGeometry(QStyle::alignedRect(layoutDirection(), Qt::AlignCenter, size, screen));
        showMaximized();
    }
    // The first control in the tab order that is shown.
    if (m_lstname->isVisible())
        m_lstname->view()->setFocus(Qt::OtherFocusReason);
    else
        m_txtname->widget()->setFocus(Qt::OtherFocusReason);
}

void Tithi_Vel::cmd_calc_Click() {
    form::guarded(app::shell(), [this] { m_logic.cmd_calc_Click(); });
}

void Tithi_Vel::cmd_save_Click() {
    form::guarded(app::shell(), [this] { m_logic.cmd_save_Click(); });
}

void Tithi_Vel::cmd_exit_Click() {
    form::guarded(app::shell(), [this] { m_logic.cmd_exit_Click(); });
}

void Tithi_Vel::lstname_Click() {
    form::guarded(app::shell(), [this] { m_logic.lstname_Click(); });
}

void Tithi_Vel::rowsEdited() {
    form::guarded(app::shell(), [this] { m_logic.rowsEdited(); });
}

void Tithi_Vel::cmd_fill_Click() {
    form::guarded(app::shell(), [this] { m_logic.cmd_fill_Click(); });
}

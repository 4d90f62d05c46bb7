#include "app/Tithi_Vel.h"

#include "almanac/Calculation.h"
#include "almanac/Entries.h"
#include "almanac/Pair.h"
#include "app/Guard.h"
#include "app/MessageBox.h"
#include "store/AlmanacDatabase.h"
#include "store/Charts.h"
#include "velmorant/Version.h"

#include <QIcon>
#include <QPalette>
#include <QStringList>

#include <limits>
#include <stdexcept>

namespace {

// The layout is drawn in twips; at 96 dots per inch 15 twips make one pixel.
constexpr int px(int twips) {
    return twips / 15;
}

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

QFont headingFont() {
    return styleFont({"Liberation Sans", "Arial"}, QFont::SansSerif, 24, true);
} // 18 pt
QFont captionFont() {
    return styleFont({"Liberation Sans", "Arial"}, QFont::SansSerif, 13, true);
} // 9.75 pt
// The classic toolkit's own default, MS Sans Serif 8 pt, for the lists, the name box and the buttons.
QFont controlFont() {
    return styleFont({"Liberation Sans", "Arial"}, QFont::SansSerif, 11, false);
}
QFont resultFont() {
    return styleFont({"Liberation Serif", "Times New Roman"}, QFont::Serif, 13, false);
} // 9.75 pt

void setTextColour(QWidget* widget, const QColor& colour) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, colour);
    widget->setPalette(palette);
}

// Result lines: caption label, its caption, the value label, the value's width (twips), at each top.
struct ResultLine {
    int top;
    int lbl;
    const char* caption;
    std::array<std::unique_ptr<QtLabel>, 2> Tithi_Vel::*values;
    int index;
    int width;
};

} // namespace

Tithi_Vel::Tithi_Vel(store::AlmanacDatabase& db, QWidget* parent)
    : QWidget(parent)
    , m_db(db) {
    setObjectName("Tithi_Vel");
    setWindowTitle("Velmorant");
    setWindowIcon(QIcon::fromTheme("velmorant"));
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, kLightYellow);
    setPalette(palette);
    setAutoFillBackground(true);
    resize(px(4680), px(3090));
    buildLayout();
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

SelectorList* Tithi_Vel::addList(const QString& name, int left, int top, int width, int height) {
    auto* list = new SelectorList(this);
    list->setObjectName(name);
    list->setGeometry(px(left), px(top), px(width), px(height));
    list->setFont(controlFont());
    return list;
}

QPushButton* Tithi_Vel::addButton(const QString& name, const QString& caption, int left) {
    auto* button = new QPushButton(caption, this);
    button->setObjectName(name);
    button->setGeometry(px(left), px(3480), px(1455), px(255));
    button->setFont(controlFont());
    button->setAutoDefault(false);
    button->setDefault(false);
    return button;
}

void Tithi_Vel::buildLayout() {
    const auto caption = [](QLabel* label, const QColor* colour) {
        label->setFont(captionFont());
        if (colour)
            setTextColour(label, *colour);
        return label;
    };

    m_label1 = addLabel("Label1", "Internal and External Velmorant", 480, 240, 6015, 495);
    m_label1->setFont(headingFont());

    m_lblnm4 = std::make_unique<QtLabel>(
        caption(addLabel("lblnm(4)", "Click to open -->", 480, 960, 1695, 255), nullptr));
    SelectorList* names = addList("lstname", 2400, 960, 2655, 225);
    names->setAccessibleName("Stored names");
    QPalette yellowBase = names->palette();
    yellowBase.setColor(QPalette::Base, kLightYellow);
    names->setPalette(yellowBase);
    m_lstname = std::make_unique<QtListBox>(names);
    connect(names, &SelectorList::entrySelected, this, &Tithi_Vel::lstname_Click);

    m_lblplanet[4] = std::make_unique<QtLabel>(
        caption(addLabel("lblplanet(4)", "Enter Name", 720, 1440, 1455, 255), &kPurple));
    auto* nameBox = new QLineEdit(this);
    nameBox->setObjectName("txtname");
    nameBox->setGeometry(px(2400), px(1440), px(2415), px(285));
    nameBox->setFont(controlFont());
    nameBox->setMaxLength(std::numeric_limits<int>::max());
    nameBox->setAccessibleName("Name");
    m_txtname = std::make_unique<QtTextBox>(nameBox);

    QWidget* previous = nameBox;
    setTabOrder(names, nameBox);
    const std::vector<std::string> degrees = almanac::numberEntries(almanac::kDegreesPerSign);
    const std::vector<std::string> minutes = almanac::numberEntries(almanac::kMinutesPerDegree);
    for (int row = 0; row < almanac::kBodyRows; ++row) {
        const auto i = static_cast<std::size_t>(row);
        const int top = 2040 + 240 * row;
        const QString body =
            QString::fromUtf8(almanac::kBodyCaptions[i].data(), almanac::kBodyCaptions[i].size());
        const QString index = QString("(%1)").arg(row);
        m_lblplanet[i] = std::make_unique<QtLabel>(
            caption(addLabel("lblplanet" + index, body, 840, top, 975, 255), &kPurple));

        SelectorList* sign = addList("lstsign" + index, 2400, top, 1215, 255);
        for (std::string_view entry : almanac::kSignEntries)
            sign->addItem(entry);
        sign->setAccessibleName(body + " sign");
        SelectorList* degree = addList("lstdeg" + index, 3720, top, 855, 255);
        SelectorList* minute = addList("lstmin" + index, 4680, top, 735, 255);
        for (const std::string& entry : degrees)
            degree->addItem(entry);
        for (const std::string& entry : minutes)
            minute->addItem(entry);
        degree->setAccessibleName(body + " degrees");
        minute->setAccessibleName(body + " minutes");
        for (SelectorList* list : {sign, degree, minute})
            list->entries().publish();
        m_lstsign[i] = std::make_unique<QtListBox>(sign);
        m_lstdeg[i] = std::make_unique<QtListBox>(degree);
        m_lstmin[i] = std::make_unique<QtListBox>(minute);
        for (QWidget* next :
             {static_cast<QWidget*>(sign), static_cast<QWidget*>(degree), static_cast<QWidget*>(minute)}) {
            setTabOrder(previous, next);
            previous = next;
        }
    }

    m_cmd_calc = addButton("cmd_calc", "Calculate", 720);
    m_cmd_save = addButton("cmd_save", "Save", 2520);
    m_cmd_exit = addButton("cmd_exit", "Exit", 4440);
    for (QWidget* next : {m_cmd_calc, m_cmd_save, m_cmd_exit}) {
        setTabOrder(previous, next);
        previous = next;
    }
    connect(m_cmd_calc, &QPushButton::clicked, this, &Tithi_Vel::cmd_calc_Click);
    connect(m_cmd_save, &QPushButton::clicked, this, &Tithi_Vel::cmd_save_Click);
    connect(m_cmd_exit, &QPushButton::clicked, this, &Tithi_Vel::cmd_exit_Click);

    const ResultLine lines[] = {
        {4200, 1, "Nakshatra", &Tithi_Vel::m_lblnak, 0, 3375},
        {4680, 0, "External Tithi", &Tithi_Vel::m_lbltithi, 0, 7815},
        {5160, 2, "External Yoga", &Tithi_Vel::m_lblyoga, 0, 7935},
        {5640, 3, "External Karana", &Tithi_Vel::m_lblkarana, 0, 3375},
        {6120, 7, "Nakshatra", &Tithi_Vel::m_lblnak, 1, 3375},
        {6600, 4, "Internal Tithi", &Tithi_Vel::m_lbltithi, 1, 7935},
        {7080, 5, "Internal Yoga", &Tithi_Vel::m_lblyoga, 1, 8055},
        {7560, 6, "Internal Karana", &Tithi_Vel::m_lblkarana, 1, 3375},
    };
    const char* const valueNames[] = {"lblnak", "lbltithi", "lblyoga", "lblkarana"};
    for (std::size_t n = 0; n < std::size(lines); ++n) {
        const ResultLine& line = lines[n];
        m_lbl[static_cast<std::size_t>(line.lbl)] = std::make_unique<QtLabel>(caption(
            addLabel(QString("lbl(%1)").arg(line.lbl), line.caption, 480, line.top, 1815, 255), &kDarkBlue));
        QLabel* value = addLabel(QString("%1(%2)").arg(valueNames[n % 4]).arg(line.index), "", 2880, line.top,
                                 line.width, 255);
        value->setFont(resultFont());
        (this->*line.values)[static_cast<std::size_t>(line.index)] = std::make_unique<QtLabel>(value);
    }

    m_label8 = caption(
        addLabel("Label8", "Copyright \u00a9 2026 the Velmorant developers", 600, 8280, 5415, 375), nullptr);
    m_label10 = caption(addLabel("Label10", "Velmorant on the web", 1680, 8640, 3615, 495), &kBlue);
    m_label10->setProperty("webAddress", "https://velmorant.invalid/");
    for (QLabel* footer : {m_label8, m_label10})
        footer->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
}

almanac::Label& Tithi_Vel::lblnm(int index) {
    if (index != 4)
        throw std::out_of_range("lblnm has only the index 4");
    return *m_lblnm4;
}

void Tithi_Vel::showMessage(std::string_view text) {
    MessageBox::show(this, QString::fromUtf8(velmorant::kProductName),
                     QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

void Tithi_Vel::Show() {
    Form_Load();
    m_lstname->widget()->entries().publish();
    showMaximized();
    // The first control in the tab order that is shown.
    if (m_lstname->isVisible())
        m_lstname->widget()->setFocus(Qt::OtherFocusReason);
    else
        m_txtname->widget()->setFocus(Qt::OtherFocusReason);
}

void Tithi_Vel::Form_Load() {
    store::loadForm(*this, m_db);
}

void Tithi_Vel::cmd_calc_Click() {
    Guard::guarded([this] {
        store::RecordsetTables tables(m_db);
        almanac::calculate(*this, tables);
    });
}

void Tithi_Vel::cmd_save_Click() {
    Guard::guarded([this] { store::saveChart(*this, m_db); });
}

void Tithi_Vel::cmd_exit_Click() {
    Guard::guarded([this] {
        store::closeRecordsets(m_db);
        close();
    });
}

void Tithi_Vel::lstname_Click() {
    Guard::guarded([this] { store::recallChart(*this, m_db); });
}

// SPDX-License-Identifier: GPL-3.0-or-later
#include "drawing/PageComposer.h"

#include "calendar/CalendarYear.h"
#include "calendar/DayNames.h"
#include "calendar/IsoWeek.h"
#include "calendar/MonthTable.h"
#include "calendar/PublicHolidays.h"
#include "drawing/DrawBox.h"
#include "drawing/DrawingSurface.h"
#include "drawing/PageContent.h"
#include "drawing/PageGeometry.h"
#include "drawing/PageStyle.h"
#include "drawing/TextMeasure.h"

#include <algorithm>

const QString PageComposer::creditLine = QStringLiteral("www.ostrabel.nl");

namespace {

// Page layout in twips at scale 1.
constexpr int headerY = 450;
constexpr int headerLeftX = 900;
constexpr int yearX = 5220;
constexpr int footerY = 7720;
constexpr int footerLeftX = 900;
constexpr int creditX = 4800;
constexpr int firstMonthX = 870, firstMonthY = 8220;
constexpr int monthPitchX = 2505, monthPitchY = 2580, lastMonthColumnX = 10000;
constexpr int monthWidth = 2310, monthHeight = 2400;
static_assert(firstMonthY + 2 * monthPitchY + monthHeight == PageGeometry::inkBottomTwips,
              "the printer fits the page by its last row of month grids");
constexpr int monthNameX = 630, monthNameY = 30;
constexpr int ruleY = 300, ruleLength = 2100;
constexpr int cellWidth = 330, cellHeight = 300;
constexpr int dayNameRowY = 300;
constexpr int dayNameTextX = 60, dayNameTextY = 360;
constexpr int dayNumberX = 30, dayNumberY = 345;
// Week numbers stand in the gap left of each block, centred in it.
constexpr int weekNumberGap = monthPitchX - monthWidth;

constexpr int headerSize = 20, monthNameSize = 10, daySize = 8, weekNumberSize = 5;

const QColor black(0, 0, 0);
const QColor monthNameColor(32, 32, 32);
const QColor dayNameColor(0, 0, 200);
const QColor weekendColor(190, 0, 0);
const QColor creditColor(170, 170, 170);
const QColor weekNumberColor(128, 128, 128);

// Each text has one line on the page: a pasted line break, tab or other
// control character becomes a blank, so a text is drawn as it is measured.
QString oneLine(QString text) {
    for (QChar& c : text) {
        const QChar::Category category = c.category();
        if (category == QChar::Other_Control || category == QChar::Separator_Line ||
            category == QChar::Separator_Paragraph) {
            c = QLatin1Char(' ');
        }
    }
    return text;
}

// One month's grid of six weeks of seven cells, numbered from 0 row by row.
struct MonthGrid {
    static constexpr int rows = 6, cells = rows * DayNames::count;

    MonthGrid(const CalendarYear& year, int month, const PageContent& content,
              const PublicHolidays& holidays)
        : year(content.year)
        , month(month)
        , days(year.days(month))
        , start(content.weekStart)
        , blank((year.firstWeekday(month) - DayNames::weekday(1, start) + 7) % 7)
        , holidays(content.holidays ? &holidays : nullptr)
        , weekNumbers(content.weekNumbers) {}

    // The day in a cell; outside 1..days for a cell of another month.
    int day(int cell) const { return cell + 1 - blank; }
    bool red(int cell) const {
        const int weekday = DayNames::weekday(cell % DayNames::count + 1, start);
        return weekday == 0 || weekday == 6 ||
               (holidays != nullptr && holidays->contains(month, day(cell)));
    }
    bool holdsDays(int row) const {
        return day(row * DayNames::count) <= days && day(row * DayNames::count + 6) >= 1;
    }
    // The ISO week of the row's Monday, which may lie in another month.
    int week(int row) const {
        const int column = start == WeekStart::Monday ? 0 : 1;
        return IsoWeek::of(year, month, day(row * DayNames::count + column));
    }

    qint32 year;
    int month;
    int days;
    WeekStart start;
    int blank;                      // empty cells before day 1
    const PublicHolidays* holidays; // none: the holidays are not marked
    bool weekNumbers;
};

QFont shrunk(QFont font, double factor) {
    font.setPointSizeF(font.pointSizeF() * factor);
    return font;
}

class Page {
public:
    Page(DrawingSurface& surface, const PageStyle& style)
        : m_surface(surface)
        , m_style(style) {}

    double at(double twips) const { return twips * m_style.scale; }
    double measured(const QFont& font, const QString& text) const {
        return double(TextMeasure::widthTwips(font, oneLine(text))) * m_style.scale;
    }
    void fontSize(double points) { m_surface.setFontSize(points * m_style.scale); }
    bool print(double x, double y, const QString& text) {
        m_surface.setPosition(x, y);
        return m_surface.printText(oneLine(text));
    }

    // 1 when the text is no wider than `width` twips in the measuring font,
    // otherwise the factor that shrinks the font evenly until it is.
    static double shrinkToFit(const QFont& measureFont, const QString& text, double width) {
        const QString line = oneLine(text);
        double factor = 1;
        for (int tries = 0; tries < 32; ++tries) {
            QFont font = measureFont;
            font.setPointSizeF(measureFont.pointSizeF() * factor);
            const double measuredWidth = TextMeasure::widthTwips(font, line);
            if (measuredWidth <= width)
                break;
            factor *= std::min(0.98, width / measuredWidth);
        }
        return factor;
    }
    // Prints at `points` shrunk by the factor, on the baseline the text would
    // have had unshrunk, and leaves the font at `points` for what follows.
    bool printShrunk(double x, double y, const QString& text, double points, double factor) {
        if (factor == 1)
            return print(x, y, text);
        fontSize(points * factor);
        const double lower = TextMeasure::ascentTwips(PageStyle::font(points)) -
                             TextMeasure::ascentTwips(PageStyle::font(points * factor));
        const bool printed = print(x, y + lower * m_style.scale, text);
        fontSize(points);
        return printed;
    }

    void outline(double x1, double y1, double x2, double y2) {
        if (m_style.outlinesAsLines)
            DrawBox(m_surface, x1, y1, x2, y2);
        else
            m_surface.box(x1, y1, x2, y2, black);
    }

    void monthBlock(const MonthGrid& grid, double x, double y);
    void dayNames(const MonthGrid& grid, double x, double y);
    void cellOutlines(double x, double y);
    void dayNumbers(const MonthGrid& grid, double x, double y);
    void weekNumbers(const MonthGrid& grid, double x, double y);

    bool header(const PageContent& content);
    void photo(const PageContent& content);
    void months(const PageContent& content);
    void footer(const PageContent& content);

private:
    DrawingSurface& m_surface;
    const PageStyle& m_style;
};

// Left text, year, right text. A text too long for its part of the line is
// shrunk until it ends where that part ends: before the year, or after it up
// to the right edge.
bool Page::header(const PageContent& content) {
    // Font name and bold hold for every text on the page.
    m_surface.setFontName(QStringLiteral("Arial"));
    m_surface.setBold(true);
    fontSize(headerSize);
    m_surface.setTextColor(black);
    const QFont font = PageStyle::font(headerSize);
    const double yearRight =
        yearX + TextMeasure::widthTwips(font, DrawingSurface::numberText(content.year));
    const double leftShrink = shrinkToFit(font, content.headerLeft, yearX - headerLeftX);
    const double rightShrink = shrinkToFit(m_style.headerMeasureFont, content.headerRight,
                                           m_style.headerRightEdge - yearRight);
    if (!printShrunk(at(headerLeftX), at(headerY), content.headerLeft, headerSize, leftShrink))
        return false;
    m_surface.setPosition(at(yearX), at(headerY));
    if (!m_surface.printNumber(content.year))
        return false;
    const double rightX =
        at(m_style.headerRightEdge) -
        measured(shrunk(m_style.headerMeasureFont, rightShrink), content.headerRight);
    return printShrunk(rightX, at(headerY), content.headerRight, headerSize, rightShrink);
}

// The photo as the person placed it in its area, reduced to what the page
// needs, and the thin frame around the area.
void Page::photo(const PageContent& content) {
    const QRect area = PageGeometry::photoArea;
    const PhotoPlacement placed =
        PhotoPlacement::of(content.photo.size(), content.photoFit, content.photoCrop, QRectF(area));
    m_surface.paintPicture(placed.picture(content.photo, content.photoFit, m_style.mostPhotoPixels),
                           at(placed.target.left()), at(placed.target.top()),
                           at(placed.target.width()), at(placed.target.height()));
    constexpr int margin = PageGeometry::frameMargin;
    const QRect frame = area.adjusted(-margin, -margin, margin, margin);
    outline(at(frame.left()), at(frame.top()), at(frame.left() + frame.width()),
            at(frame.top() + frame.height()));
}

// Three rows of four, January top left.
void Page::months(const PageContent& content) {
    const CalendarYear year(content.year);
    const PublicHolidays holidays(content.year);
    double monthX = at(firstMonthX);
    double monthY = at(firstMonthY);
    for (int month = 1; month <= MonthTable::count; ++month) {
        monthBlock(MonthGrid(year, month, content, holidays), monthX, monthY);
        monthX += at(monthPitchX);
        if (monthX > at(lastMonthColumnX)) {
            monthX = at(firstMonthX);
            monthY += at(monthPitchY);
        }
    }
}

void Page::monthBlock(const MonthGrid& grid, double x, double y) {
    outline(x, y, x + at(monthWidth), y + at(monthHeight));
    fontSize(monthNameSize);
    m_surface.setTextColor(monthNameColor);
    print(x + at(monthNameX), y + at(monthNameY), MonthTable::name(grid.month));
    m_surface.line(x, y + at(ruleY), x + at(ruleLength), y + at(ruleY), black);
    dayNames(grid, x, y);
    cellOutlines(x, y);
    weekNumbers(grid, x, y);
    dayNumbers(grid, x, y);
}

void Page::dayNames(const MonthGrid& grid, double x, double y) {
    for (int column = 0; column < DayNames::count; ++column) {
        const double cellX = x + at(column * cellWidth);
        outline(cellX, y + at(dayNameRowY), cellX + at(cellWidth),
                y + at(dayNameRowY + cellHeight));
        fontSize(daySize);
        m_surface.setTextColor(dayNameColor);
        print(cellX + at(dayNameTextX), y + at(dayNameTextY),
              DayNames::abbreviation(column + 1, grid.start));
    }
}

void Page::cellOutlines(double x, double y) {
    for (int cell = 0; cell < MonthGrid::cells; ++cell) {
        const int row = cell / DayNames::count, column = cell % DayNames::count;
        const double cellX = x + at(column * cellWidth);
        const double cellY = y + at(dayNameRowY + (row + 1) * cellHeight);
        outline(cellX, cellY, cellX + at(cellWidth), cellY + at(cellHeight));
    }
}

// Every cell sets its colour, empty or not: the footer line relies on the red
// of the last cell, a weekend one whichever day the weeks start on.
void Page::dayNumbers(const MonthGrid& grid, double x, double y) {
    for (int cell = 0; cell < MonthGrid::cells; ++cell) {
        const int row = cell / DayNames::count, column = cell % DayNames::count;
        m_surface.setTextColor(grid.red(cell) ? weekendColor : m_style.dayNumberColor);
        m_surface.setPosition(x + at(column * cellWidth + dayNumberX),
                              y + at((row + 1) * cellHeight + dayNumberY));
        const int day = grid.day(cell);
        if (day >= 1 && day <= grid.days)
            m_surface.printNumber(day);
    }
}

// Drawn before the day numbers, which set their own colour and leave the
// footer the red of the last cell; on the baseline of the row's day numbers.
void Page::weekNumbers(const MonthGrid& grid, double x, double y) {
    if (!grid.weekNumbers)
        return;
    fontSize(weekNumberSize);
    m_surface.setTextColor(weekNumberColor);
    const QFont font = PageStyle::font(weekNumberSize);
    const double lower =
        TextMeasure::ascentTwips(PageStyle::font(daySize)) - TextMeasure::ascentTwips(font);
    for (int row = 0; row < MonthGrid::rows; ++row) {
        if (!grid.holdsDays(row))
            continue;
        const QString week = QString::number(grid.week(row));
        const double width = TextMeasure::widthTwips(font, week);
        print(x - at((weekNumberGap + width) / 2),
              y + at((row + 1) * cellHeight + dayNumberY + lower), week);
    }
    fontSize(daySize);
}

// The footer line keeps the colour of the last day cell, red; on the bitmap
// page it also keeps the day numbers' size. Its texts keep a blank's width
// from the credit line between them.
void Page::footer(const PageContent& content) {
    if (m_style.footerFontSize)
        m_surface.setFontSize(*m_style.footerFontSize * m_style.scale);
    const double size = m_style.footerFontSize.value_or(daySize);
    const QFont font = PageStyle::font(size);
    const double blank = TextMeasure::widthTwips(font, QStringLiteral(" "));
    const double creditRight =
        creditX + TextMeasure::widthTwips(font, PageComposer::creditLine) + blank;
    const double leftShrink = shrinkToFit(font, content.footerLeft, creditX - blank - footerLeftX);
    const double rightShrink = shrinkToFit(m_style.footerMeasureFont, content.footerRight,
                                           m_style.footerRightEdge - creditRight);
    printShrunk(at(footerLeftX), at(footerY), content.footerLeft, size, leftShrink);
    const double rightX =
        at(m_style.footerRightEdge) -
        measured(shrunk(m_style.footerMeasureFont, rightShrink), content.footerRight);
    printShrunk(rightX, at(footerY), content.footerRight, size, rightShrink);

    m_surface.setTextColor(creditColor);
    print(at(creditX), at(footerY), PageComposer::creditLine);
}

} // namespace

bool PageComposer::compose(DrawingSurface& surface, const PageContent& content,
                           const PageStyle& style) {
    Page page(surface, style);
    if (!page.header(content))
        return false;
    // From here on a step that fails is left out: no photo leaves its area
    // blank and the rest of the page is still drawn.
    page.photo(content);
    page.months(content);
    page.footer(content);
    return true;
}

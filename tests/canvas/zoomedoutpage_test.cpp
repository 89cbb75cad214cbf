#include "tests/canvas/canvasfixture.h"

#include <QPainter>

namespace {

// A 200-dpi A3 page with 1-px box outlines whose sides fall on every phase
// of a one-in-five sampling.
struct BoxPage
{
    QImage image;
    QList<QRect> boxes;
};

BoxPage boxPage()
{
    BoxPage page;
    page.image = QImage(3307, 2339, QImage::Format_RGB32);
    page.image.fill(Qt::white);
    QPainter painter(&page.image);
    for (int row = 0; row < 6; ++row) {
        for (int col = 0; col < 8; ++col) {
            const QRect box(80 + col * 401, 80 + row * 371, 150 + row, 60 + col);
            painter.fillRect(box.left(), box.top(), box.width(), 1, Qt::black);
            painter.fillRect(box.left(), box.bottom(), box.width(), 1, Qt::black);
            painter.fillRect(box.left(), box.top(), 1, box.height(), Qt::black);
            painter.fillRect(box.right(), box.top(), 1, box.height(), Qt::black);
            page.boxes.append(box);
        }
    }
    return page;
}

// How much ink a view pixel row or column across a page line carries: the
// darkness summed over a few pixels around where the line maps to.
int inkAcross(const QImage& shot, QPoint at, bool vertical)
{
    int ink = 0;
    for (int d = -2; d <= 2; ++d) {
        const QPoint p = vertical ? at + QPoint(d, 0) : at + QPoint(0, d);
        if (shot.rect().contains(p))
            ink += 255 - qGray(shot.pixel(p));
    }
    return ink;
}

// How many boxes are in sight, then each of their sides of which less than
// nine tenths of the length (corners aside) shows.
QString fadedSides(EIGraphicsView* view, const BoxPage& page)
{
    viewdriver::paintNow(view);
    const QImage shot = view->viewport()->grab().toImage();
    QStringList faded;
    int seen = 0;
    for (const QRect& box : page.boxes) {
        if (!shot.rect().contains(view->mapFromScene(QRectF(box)).boundingRect()))
            continue;  // scrolled out of sight
        ++seen;
        const struct
        {
            QPointF from, to;
            bool vertical;
        } sides[] = {
            {box.topLeft(), box.topRight(), false},
            {box.bottomLeft(), box.bottomRight(), false},
            {box.topLeft(), box.bottomLeft(), true},
            {box.topRight(), box.bottomRight(), true},
        };
        for (const auto& side : sides) {
            // Page pixel centres, mapped the way framing items are.
            const QPoint a = view->mapFromScene(side.from + QPointF(0.5, 0.5));
            const QPoint b = view->mapFromScene(side.to + QPointF(0.5, 0.5));
            const int length = side.vertical ? b.y() - a.y() : b.x() - a.x();
            int shown = 0, probed = 0;
            for (int t = 2; t <= length - 2; ++t, ++probed) {
                const QPoint p = side.vertical ? QPoint(a.x(), a.y() + t) : QPoint(a.x() + t, a.y());
                // A 1-px line spread over five page pixels leaves about 51.
                shown += inkAcross(shot, p, side.vertical) >= 30;
            }
            if (probed == 0 || shown * 10 < probed * 9)
                faded.append(QStringLiteral("%1,%2 %3").arg(box.x()).arg(box.y()).arg(side.vertical ? "|" : "-"));
        }
    }
    return QStringLiteral("%1 boxes; %2").arg(seen).arg(faded.join(QLatin1Char(' ')));
}

} // namespace

TEST_F(CanvasTest, ThinBoxLinesStayVisibleWhenThePageIsFittedOrZoomedOut)
{
    const BoxPage page = boxPage();
    view->resize(661, 468);
    view->setPixmap(QPixmap::fromImage(page.image), false);
    ASSERT_NEAR(view->zoomScale(), 0.2, 0.001);
    EXPECT_EQ(scene->sceneRect(), QRectF(0, 0, 3307, 2339)) << "the scene stays in page pixels";
    EXPECT_EQ(fadedSides(view.get(), page).toStdString(), "48 boxes; ");

    // The next zoom step draws from a copy for its own scale.
    view->zoomIn();
    EXPECT_EQ(fadedSides(view.get(), page).toStdString(), "35 boxes; ");
}

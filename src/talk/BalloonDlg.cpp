#include "talk/BalloonDlg.h"

#include <vector>

namespace tc {

namespace {

constexpr int kCorner = 24;
constexpr std::uint32_t kTextColour = Rgb(0, 0, 0);
constexpr std::uint32_t kCaptionColour = Rgb(160, 160, 160);

// Where the caption stands in each shape (the lower one H further down): its mark at the
// text's left edge, its text 12 pixels right of that.
constexpr int kCaptionTop = 80;
constexpr int kCaptionGap = 12;

}  // namespace

CBalloonDlg::~CBalloonDlg() {
    if (m_hWnd) platform().windows.DestroyWindow(m_hWnd);
}

bool CBalloonDlg::OnInitDialog() {
    Painting& painting = platform().painting;
    m_lowerTop = platform().windows.ScreenRect().bottom;
    BuildShapes();
    MakeFonts();
    m_leftPicture = OwnedObject(painting, painting.LoadBitmapResource(kBalloonLeftPicture));
    m_rightPicture = OwnedObject(painting, painting.LoadBitmapResource(kBalloonRightPicture));
    m_markPicture = OwnedObject(painting, painting.LoadBitmapResource(kBalloonMarkPicture));
    platform().windows.SetTimer(m_hWnd, kBalloonTimerId, kBalloonTickMs);
    m_ticking = true;
    return false;  // no control takes the focus
}

void CBalloonDlg::MakeFonts() {
    Painting& painting = platform().painting;
    m_font = OwnedObject(painting, painting.CreateTextFont(kBalloonFontFace, kBalloonFontHeight * m_scale));
    m_smallFont = OwnedObject(painting, painting.CreateTextFont(kBalloonFontFace, kBalloonCaptionFontHeight * m_scale));
}

void CBalloonDlg::SetScale(int scale) {
    if (scale == m_scale) return;
    m_scale = scale;
    BuildShapes();
    MakeFonts();
    Reposition();
    platform().windows.Invalidate(m_hWnd, kBalloonWidth * m_scale, m_lowerTop + kBalloonShapeHeight * m_scale);
}

// Two shapes, one per side; the window wears only the one in use, so the other can never
// show, whatever screen it would stand on.
void CBalloonDlg::BuildShapes() {
    Painting& painting = platform().painting;
    auto shape = [&](const Rect& box, const std::vector<Point>& tail) {
        const OwnedObject rounded(painting, painting.CreateRoundRectRegion(box, kCorner, kCorner));
        const OwnedObject pointed(painting, painting.CreatePolygonRegion(tail));
        return OwnedObject(painting, painting.UniteRegions(rounded.Get(), pointed.Get()));
    };
    const int h = m_lowerTop;
    const int s = m_scale;
    m_upperShape = shape({10 * s, 0, 328 * s, 96 * s}, {{10 * s, 43 * s}, {0, 48 * s}, {10 * s, 53 * s}});
    m_lowerShape = shape({0, h, 318 * s, h + 96 * s},
                         {{317 * s, h + 43 * s}, {327 * s, h + 48 * s}, {317 * s, h + 53 * s}});
}

void CBalloonDlg::OnDestroy() {
    platform().windows.KillTimer(m_hWnd, kBalloonTimerId);
    m_font.Reset();
    m_smallFont.Reset();
}

void CBalloonDlg::Say(const ShownScript& script, std::optional<std::string_view> sender,
                      const BalloonPlacement& placement) {
    if (!m_ticking) {
        platform().windows.SetTimer(m_hWnd, kBalloonTimerId, kBalloonTickMs);
        m_ticking = true;
    }
    const BalloonUpdate update = Start(script, sender);
    platform().windows.SetWindowTitle(m_hWnd, script.text);
    if (update.hide) Hide();
    Place(placement);
    if (update.show) platform().windows.ShowWindow(m_hWnd, true);
}

void CBalloonDlg::Reposition() {
    const int top = WindowTop();
    platform().painting.SetWindowShape(m_hWnd, (m_side == 1 ? m_lowerShape : m_upperShape).Get());
    platform().windows.MoveWindow(
        m_hWnd, {m_x, top, m_x + kBalloonWidth * m_scale, top + m_lowerTop + kBalloonShapeHeight * m_scale});
}

void CBalloonDlg::Hide() {
    platform().windows.ShowWindow(m_hWnd, false);
    if (m_onHidden) m_onHidden();
}

bool CBalloonDlg::IsShown() { return m_hWnd && platform().windows.IsWindowVisible(m_hWnd); }

void CBalloonDlg::SetOpacity(std::optional<int> alpha) {
    if (alpha) {
        platform().painting.SetLayeredAlpha(m_hWnd, *alpha);
    } else {
        platform().painting.ClearLayered(m_hWnd);
    }
}

void CBalloonDlg::Apply(const BalloonUpdate& update) {
    if (update.hide) Hide();
    if (update.invalidate) platform().windows.InvalidateRect(m_hWnd, *update.invalidate);
    if (update.surface && m_onScriptSurface) m_onScriptSurface(*update.surface);
    if (update.show) platform().windows.ShowWindow(m_hWnd, true);
}

bool CBalloonDlg::OnTimer(int timerId) {
    if (timerId != kBalloonTimerId) return false;
    Apply(Tick());
    // A hidden balloon with nothing left to type or count sleeps until the next line, so an
    // idle cat costs nothing here.
    if (!m_speaking && m_closeCount == 0 && !IsShown()) {
        platform().windows.KillTimer(m_hWnd, kBalloonTimerId);
        m_ticking = false;
    }
    return true;
}

bool CBalloonDlg::OnLButtonDown(Point) {
    Apply(Click());
    return true;
}

bool CBalloonDlg::OnRButtonDown(Point) {
    Apply(Click());
    return true;
}

bool CBalloonDlg::OnLButtonDblClk(Point) {
    Apply(DoubleClick());
    return true;
}

bool CBalloonDlg::OnPaint() {
    platform().painting.PaintCanvas(m_hWnd, [this](Canvas& canvas) { Draw(canvas); });
    return true;
}

// Both shapes are drawn; only the one in use is inside the window's shape.
void CBalloonDlg::Draw(Canvas& canvas) {
    const int h = m_lowerTop;
    const int s = m_scale;
    canvas.DrawBitmap(m_leftPicture.Get(), {0, 0}, kBalloonWidth, kBalloonShapeHeight, {}, s);
    canvas.DrawBitmap(m_rightPicture.Get(), {0, h}, kBalloonWidth, kBalloonShapeHeight, {}, s);
    for (const int side : {0, 1}) {
        const int top = side == 1 ? h : 0;
        const int x = BalloonTextX(side) * s;
        if (!m_caption.empty()) {
            canvas.DrawBitmap(m_markPicture.Get(), {x, top + kCaptionTop * s}, 8, 8, {}, s);
            canvas.DrawString(m_smallFont.Get(), kCaptionColour, {x + kCaptionGap * s, top + kCaptionTop * s},
                              m_caption);
        }
        int k = 0;
        for (const std::string& row : VisibleRows()) {
            canvas.DrawString(m_font.Get(), kTextColour, {x, top + (kBalloonTextTop + kBalloonRowHeight * k++) * s},
                              row);
        }
    }
}

}  // namespace tc

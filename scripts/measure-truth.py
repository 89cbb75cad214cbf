#!/usr/bin/env python3
"""Independent check of tests/data/real/truth.csv.

For every grid, each box is found on its own near the place the hand-read
corners put it (an outline: the dark component of about the box's size, else
a Hough circle; ink: the centroid of the darkest channel's ink over a
box-sized window), then a homography from grid indices to page pixels is
fitted to all of them by least squares (once more without the boxes more
than three median residuals off: a neighbour's fill, a rule). Prints, per
grid, how many boxes were found, the residuals, and how far the fitted
corners lie from the hand-read ones, marking those more than a third of a
box apart.

    scripts/measure-truth.py                 # check every row
    scripts/measure-truth.py --write         # fill the empty fit columns
    scripts/measure-truth.py --pictures DIR  # crosses on every box: green hand, red fit
    scripts/measure-truth.py --set tune      # only the tuning rows: held-out pictures stay unopened

Needs python3-opencv and python3-numpy (Debian); nothing in the build does.
"""
import argparse, csv, os, sys
import cv2
import numpy as np

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'tests', 'data', 'real')
CORNERS = ['tl', 'tr', 'bl', 'br']


def homography(corners, rows, cols):
    src = np.float32([[0, 0], [cols - 1, 0], [0, rows - 1], [cols - 1, rows - 1]])
    return cv2.getPerspectiveTransform(src, np.float32(corners))


def at(H, c, r):
    p = H @ np.array([c, r, 1.0])
    return p[:2] / p[2]


def outline(grey, ex, ey, bw, bh, win):
    x0, y0 = max(0, int(ex - win[0])), max(0, int(ey - win[1]))
    w = grey[y0:int(ey + win[1]) + 1, x0:int(ex + win[0]) + 1]
    lo, hi = np.percentile(w, 3), np.percentile(w, 90)
    if hi - lo >= 25:
        shapes, _ = cv2.findContours((w < (lo + hi) / 2).astype(np.uint8), cv2.RETR_EXTERNAL, cv2.CHAIN_APPROX_NONE)
        best = None
        for s in shapes:
            x, y, sw, sh = cv2.boundingRect(s)
            if 0.65 * bw <= sw <= 1.4 * bw and 0.65 * bh <= sh <= 1.4 * bh:
                cx, cy = x0 + x + sw / 2, y0 + y + sh / 2
                d = np.hypot(cx - ex, cy - ey)
                if best is None or d < best[0]:
                    best = (d, cx, cy, sw, sh)
        if best:
            return best[1:]
    # A faint or broken outline: a Hough circle of about the box's size.
    r = (bw + bh) / 4
    w8 = cv2.GaussianBlur(np.clip(w, 0, 255).astype(np.uint8), (3, 3), 0)
    found = cv2.HoughCircles(w8, cv2.HOUGH_GRADIENT, 1, max(2, r), param1=80, param2=max(6, r * 0.7),
                             minRadius=max(2, int(r * 0.75)), maxRadius=int(r * 1.3) + 1)
    if found is None:
        return None
    cx, cy, rr = min(found[0], key=lambda f: np.hypot(f[0] + x0 + 0.5 - ex, f[1] + y0 + 0.5 - ey))
    return (cx + x0 + 0.5, cy + y0 + 0.5, 2 * rr, 2 * rr)


def ink(grey, ex, ey, bw, bh, win):
    for _ in range(2):
        x0, y0 = int(round(ex - bw * 0.6)), int(round(ey - bh * 0.6))
        w = grey[max(0, y0):y0 + int(bh * 1.2) + 1, max(0, x0):x0 + int(bw * 1.2) + 1]
        weight = np.clip(np.percentile(w, 95) - w - 20, 0, None)
        if weight.sum() <= 0:
            return None
        ys, xs = np.mgrid[0:w.shape[0], 0:w.shape[1]]
        ex = max(0, x0) + (weight * xs).sum() / weight.sum()
        ey = max(0, y0) + (weight * ys).sum() / weight.sum()
    return (ex + 0.5, ey + 0.5, bw, bh)


def fit(grey, row, hand):
    rows, cols = int(row['rows']), int(row['cols'])
    box = (float(row['box_w']), float(row['box_h']))
    find = ink if row['fit_by'] == 'ink' else outline
    H = homography(hand, rows, cols)
    for _ in range(2):
        src, dst, sizes = [], [], []
        for r in range(rows):
            for c in range(cols):
                ex, ey = at(H, c, r)
                pitch = (np.linalg.norm(at(H, c + 1, r) - at(H, c, r)), np.linalg.norm(at(H, c, r + 1) - at(H, c, r)))
                got = find(grey, ex, ey, box[0], box[1], (min(pitch[0] / 2, box[0]), min(pitch[1] / 2, box[1])))
                if got:
                    src.append([c, r]), dst.append(got[:2]), sizes.append(got[2:])
        src, dst = np.float32(src), np.float32(dst)
        H, _ = cv2.findHomography(src, dst, 0)
        res = np.array([np.linalg.norm(at(H, c, r) - d) for (c, r), d in zip(src, dst)])
        keep = res <= max(2.5, 3 * np.median(res))
        src, dst, sizes = src[keep], dst[keep], np.array(sizes)[keep]
        H, _ = cv2.findHomography(src, dst, 0)
    res = np.array([np.linalg.norm(at(H, c, r) - d) for (c, r), d in zip(src, dst)])
    corners = [at(H, 0, 0), at(H, cols - 1, 0), at(H, 0, rows - 1), at(H, cols - 1, rows - 1)]
    return corners, len(src), res, np.median(sizes, axis=0)


def corners_of(row, kind):
    return [[float(row['%s_%s_%s' % (kind, k, a)]) for a in 'xy'] for k in CORNERS]


def draw(page, row, hand, fitted, folder):
    rows, cols = int(row['rows']), int(row['cols'])
    Hh, Hf = homography(hand, rows, cols), homography(fitted, rows, cols)
    x, y, w, h = (int(float(row[k])) for k in ('table_x', 'table_y', 'table_w', 'table_h'))
    scale = max(1.0, 600.0 / max(w, h))
    cut = cv2.resize(page[max(0, y):y + h, max(0, x):x + w], None, fx=scale, fy=scale, interpolation=cv2.INTER_CUBIC)
    for r in range(rows):
        for c in range(cols):
            for H, colour, marker in ((Hh, (0, 200, 0), cv2.MARKER_CROSS), (Hf, (0, 0, 255), cv2.MARKER_TILTED_CROSS)):
                p = (at(H, c, r) - [max(0, x), max(0, y)]) * scale
                cv2.drawMarker(cut, (int(p[0]), int(p[1])), colour, marker, 9, 1)
    name = '%s-%s.png' % (os.path.splitext(row['sheet'])[0], ''.join(ch if ch.isalnum() else '-' for ch in row['grid']))
    cv2.imwrite(os.path.join(folder, name), cut)


def main():
    ap = argparse.ArgumentParser(description=__doc__.split('\n\n')[0])
    ap.add_argument('--write', action='store_true', help='fill the fit columns of rows that have none')
    ap.add_argument('--pictures', metavar='DIR')
    ap.add_argument('--set', choices=('tune', 'heldout'), help="only this set's rows (the others are kept as they are)")
    args = ap.parse_args()
    path = os.path.join(ROOT, 'truth.csv')
    with open(path, newline='') as f:
        lines = f.read().splitlines()
    header = lines[0].lstrip('# ').split(',')
    rows = [dict(zip(header, next(csv.reader([l])))) for l in lines[1:] if l and not l.startswith('#')]
    pages = {}
    for row in rows:
        if args.set and row['set'] != args.set:
            continue
        if row['sheet'] not in pages:
            pages[row['sheet']] = cv2.imread(os.path.join(ROOT, row['sheet']), cv2.IMREAD_COLOR)
        page = pages[row['sheet']]
        hand = corners_of(row, 'hand')
        fitted, found, res, size = fit(page.min(axis=2).astype(np.float32), row, hand)
        if args.write and not row['fit_tl_x']:
            for k, p in zip(CORNERS, fitted):
                row['fit_%s_x' % k], row['fit_%s_y' % k] = '%.1f' % p[0], '%.1f' % p[1]
        stored = corners_of(row, 'fit') if row['fit_tl_x'] else fitted
        apart = max(np.hypot(*(np.subtract(a, b))) for a, b in zip(hand, stored))
        third = min(float(row['box_w']), float(row['box_h'])) / 3
        print('%-58s %-22s %3d/%-3d boxes, rms %.2f max %.2f px, box %.0fx%.0f; hand-fit %.1f px%s' % (
            row['sheet'], row['grid'], found, int(row['rows']) * int(row['cols']), np.sqrt((res ** 2).mean()),
            res.max(), size[0], size[1], apart, '  MORE THAN A THIRD OF A BOX' if apart > third else ''))
        if args.pictures:
            draw(page, row, hand, stored, args.pictures)
    if args.write:
        out = [lines[0]] + [','.join(row[k] for k in header) for row in rows]
        with open(path, 'w') as f:
            f.write('\n'.join(out) + '\n')
    return 0


if __name__ == '__main__':
    sys.exit(main())

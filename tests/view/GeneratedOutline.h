// Generated outlines for the view's tests and benchmarks: one node per
// line, wandering between 0 and `maxDepth` levels deep as hand-written
// outlines do: mostly siblings, now and then a level deeper or a few
// levels back.

#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>

inline QStringList GeneratedOutline(int count, int maxDepth, uint32_t seed = 12345)
{
    QStringList lines;
    lines.reserve(count);
    int depth = 0;
    for (int i = 0; i < count; ++i) {
        seed = seed * 1103515245u + 12345u;
        const uint32_t r = (seed >> 16) % 8;
        if (i > 0) {
            if (r < 3 && depth < maxDepth)
                ++depth;
            else if (r == 7)
                depth = static_cast<int>((seed >> 8) % static_cast<uint32_t>(depth + 1));
        }
        lines << QString(depth, QLatin1Char(' ')) + QStringLiteral("Node %1").arg(i);
    }
    return lines;
}

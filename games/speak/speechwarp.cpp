#include "speechwarp.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace games {

namespace {

    constexpr int kBandPercent = 30;
    constexpr float kUnreached = std::numeric_limits<float>::infinity();

    float frameDistance(const SpeechFrame& a, const SpeechFrame& b)
    {
        float sum = 0;
        for (int c = 0; c < kSpeechCoefficients; ++c) {
            const float d = a[c] - b[c];
            sum += d * d;
        }
        return std::sqrt(sum);
    }

    // The accumulated costs of the band: row i holds the learner frames first(i) up to last(i); any other pair,
    // and any before the first row or column, is out of reach.
    class Band
    {
    public:
        Band(int rows, int columns, int width)
            : m_columns(columns)
            , m_width(width)
            , m_costs(std::size_t(rows) * std::size_t(2 * width + 1), kUnreached)
        {
        }
        int first(int row) const { return std::max(0, row - m_width); }
        int last(int row) const { return std::min(m_columns - 1, row + m_width); }
        float at(int row, int column) const
        {
            if (row < 0 || column < first(row) || column > last(row))
                return kUnreached;
            return m_costs[index(row, column)];
        }
        void set(int row, int column, float cost) { m_costs[index(row, column)] = cost; }

    private:
        std::size_t index(int row, int column) const
        {
            return std::size_t(row) * std::size_t(2 * m_width + 1) + std::size_t(column - row + m_width);
        }
        int m_columns;
        int m_width;
        std::vector<float> m_costs;
    };

}

std::vector<WarpStep> warpPath(const std::vector<SpeechFrame>& reference, const std::vector<SpeechFrame>& learner)
{
    const int rows = int(reference.size());
    const int columns = int(learner.size());
    if (rows == 0 || columns == 0)
        return {};
    const int width = std::max((std::max(rows, columns) * kBandPercent + 99) / 100, std::abs(rows - columns));
    Band band(rows, columns, width);
    const auto local = [&](int i, int j) { return frameDistance(reference[std::size_t(i)], learner[std::size_t(j)]); };
    for (int i = 0; i < rows; ++i) {
        for (int j = band.first(i); j <= band.last(i); ++j) {
            const float before
                = (i == 0 && j == 0) ? 0.0f : std::min({ band.at(i - 1, j - 1), band.at(i - 1, j), band.at(i, j - 1) });
            band.set(i, j, before + local(i, j));
        }
    }

    std::vector<WarpStep> path;
    int i = rows - 1;
    int j = columns - 1;
    path.push_back({ i, j, local(i, j) });
    while (i > 0 || j > 0) {
        const float diagonal = band.at(i - 1, j - 1);
        const float up = band.at(i - 1, j);
        const float left = band.at(i, j - 1);
        if (diagonal <= up && diagonal <= left) {
            --i;
            --j;
        } else if (up <= left) {
            --i;
        } else {
            --j;
        }
        path.push_back({ i, j, local(i, j) });
    }
    std::reverse(path.begin(), path.end());
    return path;
}

}

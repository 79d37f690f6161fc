#include "meteo/base/wstormmotion.h"

#include "meteo/base/wgrounddistance.h"
#include "meteo/base/wisotime_p.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <numbers>
#include <string>

namespace meteo
{

namespace
{

constexpr std::string_view PART_END = "...";
// The motion's fix may be stamped a little ahead of this machine's clock; further ahead, one of the clocks is wrong.
constexpr std::int64_t CLOCK_SLACK_SECONDS = 600;
constexpr double KM_PER_NAUTICAL_MILE = 1.852;

// "storm...213DEG" gives "storm" and leaves "213DEG".
std::string_view nextPart(std::string_view &text)
{
    const std::size_t end = text.find(PART_END);
    const std::string_view part = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + PART_END.size());
    return part;
}

// "213DEG" with the unit "DEG" gives 213; one to three digits.
std::optional<int> wholeWithUnit(std::string_view part, std::string_view unit)
{
    if (!part.ends_with(unit) || part.size() == unit.size() || part.size() > unit.size() + 3)
        return std::nullopt;
    part.remove_suffix(unit.size());
    int value = 0;
    const auto [end, error] = std::from_chars(part.data(), part.data() + part.size(), value);
    if (error != std::errc() || end != part.data() + part.size() || part.front() == '-')
        return std::nullopt;
    return value;
}

std::optional<double> decimal(std::string_view text)
{
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

// "40.92,-95.39"
std::optional<WStormPoint> point(std::string_view text)
{
    const std::size_t comma = text.find(',');
    if (comma == std::string_view::npos)
        return std::nullopt;
    const std::optional<double> latitude = decimal(text.substr(0, comma));
    const std::optional<double> longitude = decimal(text.substr(comma + 1));
    if (!latitude || !longitude || std::fabs(*latitude) > 90 || std::fabs(*longitude) > 180)
        return std::nullopt;
    return WStormPoint{*latitude, *longitude};
}

// "43.43,-85.39 43.28,-85.62": positions apart by spaces; none at all is no list.
bool readPoints(std::string_view text, std::vector<WStormPoint> &points)
{
    while (!text.empty()) {
        const std::size_t space = text.find(' ');
        const std::string_view word = text.substr(0, space);
        text = space == std::string_view::npos ? std::string_view() : text.substr(space + 1);
        if (word.empty())
            continue;
        const std::optional<WStormPoint> found = point(word);
        if (!found)
            return false;
        points.push_back(*found);
    }
    return !points.empty();
}

// What moves: "storm", or another word of small letters.
bool isWord(std::string_view part)
{
    return !part.empty() && std::all_of(part.begin(), part.end(), [](char c) { return c >= 'a' && c <= 'z'; });
}

// A point on the flat map around the place, in kilometres east and north of it; also a movement in kilometres.
struct Flat {
    double x = 0;
    double y = 0;
};

Flat operator+(Flat a, Flat b)
{
    return {a.x + b.x, a.y + b.y};
}
Flat operator-(Flat a, Flat b)
{
    return {a.x - b.x, a.y - b.y};
}
Flat operator*(Flat a, double factor)
{
    return {a.x * factor, a.y * factor};
}
double dot(Flat a, Flat b)
{
    return a.x * b.x + a.y * b.y;
}
double cross(Flat a, Flat b)
{
    return a.x * b.y - a.y * b.x;
}
double length(Flat a)
{
    return std::hypot(a.x, a.y);
}

double radians(double degrees)
{
    return degrees * std::numbers::pi / 180;
}

double degrees(double radians)
{
    return radians * 180 / std::numbers::pi;
}

// The flat map around one place: east-west distances shrink with the cosine of its latitude.
class FlatMap
{
public:
    FlatMap(double latitude, double longitude)
        : m_latitude(latitude)
        , m_longitude(longitude)
        , m_cosine(std::cos(radians(latitude)))
    {
    }

    Flat onMap(const WStormPoint &point) const
    {
        // Across the 180th meridian, -179.9 lies 0.2 degrees east of 179.9.
        const double east = std::remainder(point.longitude - m_longitude, 360.0);
        return {radians(east) * m_cosine * EARTH_RADIUS_KM, radians(point.latitude - m_latitude) * EARTH_RADIUS_KM};
    }
    double groundKm(Flat at) const
    {
        const double latitude = m_latitude + degrees(at.y / EARTH_RADIUS_KM);
        const double longitude = m_longitude + degrees(at.x / (EARTH_RADIUS_KM * m_cosine));
        return groundDistanceKm(m_latitude, m_longitude, latitude, longitude);
    }

private:
    double m_latitude;
    double m_longitude;
    double m_cosine;
};

// Degrees clockwise from north, 0 to 360, of the direction from the place to a point of the map.
double bearing(Flat at)
{
    const double angle = degrees(std::atan2(at.x, at.y));
    return angle < 0 ? angle + 360 : angle;
}

// The point of the segment from a to b nearest to p; a == b is a single point.
Flat nearestOnSegment(Flat p, Flat a, Flat b)
{
    const Flat along = b - a;
    const double squared = dot(along, along);
    if (squared == 0)
        return a;
    return a + along * std::clamp(dot(p - a, along) / squared, 0.0, 1.0);
}

// A line of storms is a chain of segments; a single storm a segment of one point.
template<typename Visit>
void forEachSegment(const std::vector<Flat> &points, Visit visit)
{
    if (points.size() == 1)
        visit(points.front(), points.front());
    for (std::size_t i = 1; i < points.size(); ++i)
        visit(points[i - 1], points[i]);
}

Flat nearestOfLine(Flat p, const std::vector<Flat> &points)
{
    Flat nearest = points.front();
    forEachSegment(points, [&](Flat a, Flat b) {
        const Flat candidate = nearestOnSegment(p, a, b);
        if (length(candidate - p) < length(nearest - p))
            nearest = candidate;
    });
    return nearest;
}

// In the storm's frame the line stands still and the place travels against the storm's motion, from the origin to
// the end of the look-ahead: along the path, the place at `share` of the way (0 to 1) and the storm's point then
// nearest to it.
struct Meeting {
    double share = 0;
    Flat storm;
    double gap = 0;
};

class PlacePath
{
public:
    explicit PlacePath(Flat end)
        : m_end(end)
    {
    }

    Meeting with(double share, Flat storm) const { return {share, storm, length(storm - m_end * share)}; }
    // The closest meeting of the path with the segment from a to b; the earlier of equally close ones.
    Meeting closest(Flat a, Flat b) const
    {
        Meeting best = with(0, nearestOnSegment({}, a, b));
        for (const Meeting &other : {with(1, nearestOnSegment(m_end, a, b)), ofStormPoint(a), ofStormPoint(b)})
            best = earlierOfClosest(best, other);
        if (const std::optional<Meeting> crossing = crossingOf(a, b))
            best = earlierOfClosest(best, *crossing);
        return best;
    }
    static Meeting earlierOfClosest(const Meeting &a, const Meeting &b)
    {
        if (a.gap != b.gap)
            return a.gap < b.gap ? a : b;
        return a.share <= b.share ? a : b;
    }

private:
    Meeting ofStormPoint(Flat point) const
    {
        const double squared = dot(m_end, m_end);
        return with(squared == 0 ? 0 : std::clamp(dot(point, m_end) / squared, 0.0, 1.0), point);
    }
    // Where the path runs through the segment: the place passes under the line.
    std::optional<Meeting> crossingOf(Flat a, Flat b) const
    {
        const Flat along = b - a;
        const double denominator = cross(m_end, along);
        if (denominator == 0)
            return std::nullopt;
        const double share = cross(a, along) / denominator;
        const double onSegment = cross(a, m_end) / denominator;
        if (share < 0 || share > 1 || onSegment < 0 || onSegment > 1)
            return std::nullopt;
        return Meeting{share, a + along * onSegment, 0};
    }

    Flat m_end;
};

// Where the storm travels in the look-ahead: toward the opposite of the direction it comes from.
Flat travel(const WStormMotion &motion, double hours)
{
    const double toward = radians(motion.fromDeg + 180.0);
    const double km = motion.speedKt * KM_PER_NAUTICAL_MILE * hours;
    return {km * std::sin(toward), km * std::cos(toward)};
}

std::vector<Flat> pointsNow(const WStormMotion &motion, const FlatMap &map, std::int64_t now)
{
    const Flat moved = travel(motion, static_cast<double>(now - motion.time) / 3600);
    std::vector<Flat> points;
    for (const WStormPoint &point : motion.points)
        points.push_back(map.onMap(point) + moved);
    return points;
}

void setClosest(WStormApproach &approach, const WStormMotion &motion, const std::vector<Flat> &now, const FlatMap &map,
    std::int64_t start)
{
    const Flat ahead = travel(motion, static_cast<double>(STORM_ESTIMATE_SECONDS) / 3600);
    const PlacePath path(ahead * -1.0);
    Meeting best = path.with(0, nearestOfLine({}, now));
    forEachSegment(now, [&](Flat a, Flat b) { best = PlacePath::earlierOfClosest(best, path.closest(a, b)); });
    // Back on the ground the storm's point has travelled its share of the look-ahead.
    const Flat storm = best.storm + ahead * best.share;
    approach.closestKm = map.groundKm(storm);
    approach.closestBearingDeg = bearing(storm);
    approach.closestTime = start + std::llround(best.share * static_cast<double>(STORM_ESTIMATE_SECONDS));
    approach.movingAway = motion.speedKt > 0 && best.share == 0;
    approach.stillNearing = best.share == 1;
}

} // namespace

std::optional<WStormMotion> parseStormMotion(std::string_view text)
{
    WStormMotion motion;
    if (!parseIsoTime(nextPart(text), motion.time) || !isWord(nextPart(text)))
        return std::nullopt;
    const std::optional<int> from = wholeWithUnit(nextPart(text), "DEG");
    const std::optional<int> speed = wholeWithUnit(nextPart(text), "KT");
    if (!from || *from > 360 || !speed)
        return std::nullopt;
    motion.fromDeg = *from;
    motion.speedKt = *speed;
    const std::string_view positions = nextPart(text);
    if (!text.empty() || !readPoints(positions, motion.points))
        return std::nullopt;
    return motion;
}

std::optional<WStormApproach> estimateStormApproach(
    const WStormMotion &motion, double latitude, double longitude, std::int64_t now)
{
    if (motion.points.empty() || now - motion.time > STORM_ESTIMATE_SECONDS || motion.time - now > CLOCK_SLACK_SECONDS)
        return std::nullopt;
    const FlatMap map(latitude, longitude);
    const std::vector<Flat> points = pointsNow(motion, map, now);
    const Flat nearest = nearestOfLine({}, points);
    WStormApproach approach;
    approach.distanceKm = map.groundKm(nearest);
    approach.bearingDeg = bearing(nearest);
    setClosest(approach, motion, points, map, now);
    return approach;
}

} // namespace meteo

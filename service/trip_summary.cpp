#include "trip_summary.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "geo_distance.h"
#include "posted_document.h"
#include "service_clock.h"
#include "text_form.h"
#include "value_text.h"

namespace velinst::service {
namespace {

// Slower than this between two points counts as resting (metres per second).
constexpr double kRestingSpeed = 0.3;

struct Point {
  double latitude;
  double longitude;
  std::optional<double> elevation;
  std::optional<std::int64_t> time;
};
using Segment = std::vector<Point>;

bool Named(const xmlNode* node, std::string_view name) {
  return node->type == XML_ELEMENT_NODE && NodeName(node) == name;
}

const xmlNode* Child(const xmlNode* node, std::string_view name) {
  for (const xmlNode* child = node->children; child != nullptr; child = child->next)
    if (Named(child, name)) return child;
  return nullptr;
}

std::string ChildText(const xmlNode* node, std::string_view name) {
  const xmlNode* child = Child(node, name);
  return child ? StoredNodeText(child) : std::string();
}

std::optional<Point> ReadPoint(const xmlNode* node) {
  const auto latitude = RealValueText(AttributeText(node, "lat"));
  const auto longitude = RealValueText(AttributeText(node, "lon"));
  if (!latitude || !longitude || std::fabs(*latitude) > 90 || std::fabs(*longitude) > 180) return std::nullopt;
  Point point{*latitude, *longitude, std::nullopt, std::nullopt};
  if (const xmlNode* elevation = Child(node, "ele")) point.elevation = RealValueText(NodeText(elevation));
  if (const xmlNode* time = Child(node, "time")) point.time = ParseTimestamp(NodeText(time));
  return point;
}

Segment ReadSegment(const xmlNode* parent, std::string_view pointName) {
  Segment segment;
  for (const xmlNode* child = parent->children; child != nullptr; child = child->next)
    if (Named(child, pointName))
      if (const auto point = ReadPoint(child)) segment.push_back(*point);
  return segment;
}

class Summarizer {
 public:
  TripSummary Run(const xmlNode* root) {
    if (const xmlNode* metadata = Child(root, "metadata")) {
      summary_.name = ChildText(metadata, "name");
      summary_.summary = ChildText(metadata, "desc");
    }
    Walk(root);
    if (summary_.name.empty()) summary_.name = EscapeMarkup(AttributeText(root, "name"));
    // Planned routes count only when nothing was recorded.
    const std::vector<Segment>& travelled = tracks_.empty() ? routes_ : tracks_;
    Measure(travelled);
    const std::optional<Point> trailhead = travelled.empty() ? firstWaypoint_ : travelled.front().front();
    if (trailhead) {
      summary_.trailheadLatitude = trailhead->latitude;
      summary_.trailheadLongitude = trailhead->longitude;
    }
    return summary_;
  }

 private:
  void Walk(const xmlNode* node) {
    for (const xmlNode* child = node->children; child != nullptr; child = child->next) {
      if (child->type != XML_ELEMENT_NODE) continue;
      const std::string_view name = NodeName(child);
      if (name == "trk") {
        ++summary_.trackCount;
        Adopt(summary_.name, ChildText(child, "name"));
        Adopt(summary_.summary, ChildText(child, "desc"));
        Adopt(summary_.activityType, ChildText(child, "type"));
      } else if (name == "trkseg") {
        AddSegment(tracks_, ReadSegment(child, "trkpt"));
        continue;
      } else if (name == "rte") {
        ++summary_.routeCount;
        Adopt(summary_.name, ChildText(child, "name"));
        AddSegment(routes_, ReadSegment(child, "rtept"));
        continue;
      } else if (name == "wpt") {
        ++summary_.waypointCount;
        ++summary_.pointCount;
        if (!firstWaypoint_) firstWaypoint_ = ReadPoint(child);
        continue;
      } else if (name == "animalType") {
        Adopt(summary_.animalType, StoredNodeText(child));
        continue;
      }
      Walk(child);
    }
  }

  static void Adopt(std::string& field, const std::string& value) {
    if (field.empty()) field = value;
  }

  void AddSegment(std::vector<Segment>& segments, Segment segment) {
    summary_.pointCount += static_cast<int>(segment.size());
    if (!segment.empty()) segments.push_back(std::move(segment));
  }

  void Measure(const std::vector<Segment>& segments) {
    std::optional<std::int64_t> first, last;
    for (const Segment& segment : segments) {
      for (std::size_t i = 0; i < segment.size(); ++i) {
        const Point& point = segment[i];
        if (point.time) {
          if (last && i == 0 && *point.time > *last) summary_.unaccountedSeconds += *point.time - *last;
          if (!first) first = point.time;
          last = std::max(last.value_or(*point.time), *point.time);
        }
        if (i == 0) continue;
        const Point& previous = segment[i - 1];
        const double step = DistanceMeters(previous.latitude, previous.longitude, point.latitude, point.longitude);
        summary_.distanceMeters += step;
        if (previous.elevation && point.elevation) {
          const double climb = *point.elevation - *previous.elevation;
          (climb > 0 ? summary_.elevationGain : summary_.elevationLoss) += std::fabs(climb);
        }
        if (previous.time && point.time && *point.time > *previous.time) {
          const std::int64_t seconds = *point.time - *previous.time;
          if (step < kRestingSpeed * static_cast<double>(seconds)) summary_.restingSeconds += seconds;
        }
      }
    }
    if (first && last) {
      summary_.durationSeconds = *last - *first;
      summary_.date = FormatTimestamp(*first);
    }
  }

  TripSummary summary_;
  std::vector<Segment> tracks_;
  std::vector<Segment> routes_;
  std::optional<Point> firstWaypoint_;
};

}  // namespace

TripSummary SummarizeTrip(const xmlDoc* document) {
  const xmlNode* root = xmlDocGetRootElement(const_cast<xmlDoc*>(document));
  if (root == nullptr) return {};
  return Summarizer().Run(root);
}

int TripDifficulty(const TripSummary& summary) {
  const double score = summary.distanceMeters / 8000.0 + summary.elevationGain / 600.0;
  return 1 + static_cast<int>(std::clamp(std::floor(score), 0.0, 4.0));
}

std::int64_t TripCalories(const TripSummary& summary, double weightKilograms) {
  const double weight = weightKilograms > 0 ? weightKilograms : 70.0;
  // About 0.75 kcal per kilogram and kilometre on the flat, plus the climb.
  const double energy = weight * (0.75 * summary.distanceMeters / 1000.0 + 0.01 * summary.elevationGain);
  return static_cast<std::int64_t>(std::lround(energy));
}

}  // namespace velinst::service

#include "trip_summary.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <tuple>

#include "posted_document.h"

namespace velinst::service {
namespace {

constexpr const char* kTrip =
    "<?xml version=\"1.0\"?><gpx xmlns=\"http://www.topografix.com/GPX/1/1\" version=\"1.1\">"
    "<metadata><name>Ridge &amp; Valley</name><desc>Loop</desc></metadata>"
    "<wpt lat=\"44.0\" lon=\"-111.0\"><name>Camp</name></wpt><trk><name>Track name</name><type>Hiking</type>"
    "<trkseg><trkpt lat=\"45.0\" lon=\"-110.0\"><ele>1000</ele><time>2024-05-01T10:00:00Z</time></trkpt>"
    "<trkpt lat=\"45.01\" lon=\"-110.0\"><ele>1100</ele><time>2024-05-01T10:20:00Z</time></trkpt>"
    "<trkpt lat=\"45.01\" lon=\"-110.0\"><ele>1050</ele><time>2024-05-01T10:30:00Z</time></trkpt></trkseg>"
    "<trkseg><trkpt lat=\"45.02\" lon=\"-110.0\"><ele>1050</ele><time>2024-05-01T11:00:00Z</time></trkpt>"
    "<trkpt lat=\"45.03\" lon=\"-110.0\"><time>2024-05-01T11:10:00Z</time></trkpt><trkpt lat=\"95\" lon=\"0\"/>"
    "</trkseg></trk><extensions><animalType>Elk</animalType></extensions></gpx>";

// The figures that matter to a reader, in one line to compare at once.
std::string Figures(const TripSummary& s) {
  char text[256];
  std::snprintf(text, sizeof text, "%s|%s|%s|%s|%s|%.0f|%.0f/%.0f|%lld/%lld/%lld|%g,%g|%d/%d/%d/%d|%d", s.name.c_str(),
                s.summary.c_str(), s.activityType.c_str(), s.animalType.c_str(), s.date.c_str(), s.distanceMeters,
                s.elevationGain, s.elevationLoss, static_cast<long long>(s.durationSeconds),
                static_cast<long long>(s.restingSeconds), static_cast<long long>(s.unaccountedSeconds),
                s.trailheadLatitude.value_or(-999), s.trailheadLongitude.value_or(-999), s.trackCount, s.routeCount,
                s.waypointCount, s.pointCount, TripDifficulty(s));
  return text;
}

TEST(TripSummary, FiguresOfTracksRoutesWaypointsAndDifficulty) {
  const struct {
    const char* document;
    const char* figures;
  } cases[] = {
      // Segments are not joined; the trailhead is the first recorded point, not the waypoint; the point off the
      // earth is not one.
      {kTrip, "Ridge &amp; Valley|Loop|Hiking|Elk|2024-05-01T10:00:00Z|2224|100/50|4200/600/1800|45,-110|1/0/1/6|1"},
      {R"(<gpx><rte><name>Plan</name><rtept lat="1" lon="1"/><rtept lat="1.1" lon="1"/></rte></gpx>)",
       "Plan|||||11120|0/0|0/0/0|1,1|0/1/0/2|2"},
      {R"(<trip name="A &lt; B"><wpt lat="3" lon="4"/></trip>)", "A &lt; B|||||0|0/0|0/0/0|3,4|0/0/1/1|1"},
  };
  for (const auto& c : cases) {
    const XmlDocument document = ParsePostedDocument(c.document);
    EXPECT_EQ(Figures(SummarizeTrip(document.get())), c.figures);
  }
  const XmlDocument document = ParsePostedDocument(kTrip);
  EXPECT_EQ(TripCalories(SummarizeTrip(document.get()), 0), 187);
  // Difficulty grows with length and climb, up to five.
  for (const auto& [distance, gain, difficulty] : {std::tuple{8000.0, 0.0, 2}, {8000.0, 1200.0, 4}, {1e7, 1200.0, 5}}) {
    TripSummary summary;
    summary.distanceMeters = distance, summary.elevationGain = gain;
    EXPECT_EQ(TripDifficulty(summary), difficulty) << distance << " " << gain;
  }
}

}  // namespace
}  // namespace velinst::service

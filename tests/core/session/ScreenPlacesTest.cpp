#include "session/ScreenPlaces.h"

#include <gtest/gtest.h>

using namespace swr;

TEST(ScreenPlaces, APlaceOffEveryScreenComesBackOntoOne)
{
    // The primary at the origin, a second screen to its right, a bit lower.
    const QRect primary(0, 0, 1920, 1040);
    const QRect second(1920, 200, 1280, 984);
    const QList<QRect> both{primary, second};
    const struct {
        const char* what;
        QRect place;
        QList<QRect> screens;
        QRect expected;
    } cases[] = {
        {"on the primary", {100, 100, 1100, 337}, both, {100, 100, 1100, 337}},
        {"on the second", {2000, 300, 900, 500}, both, {2000, 300, 900, 500}},
        {"hanging over the right edge, top edge still in reach", {1800, 300, 900, 500}, both, {1800, 300, 900, 500}},
        {"far away", {-5000, -5000, 1100, 337}, both, {410, 351, 1100, 337}},
        {"on a screen that is gone", {2000, 300, 900, 500}, {primary}, {510, 270, 900, 500}},
        {"top edge above the screen", {100, -30, 1100, 337}, both, {410, 351, 1100, 337}},
        {"mostly on the second, top edge above it", {2000, 150, 900, 500}, both, {2110, 442, 900, 500}},
        {"larger than the screen it lands on", {-4000, 0, 3000, 2000}, both, {40, 40, 1840, 960}},
        {"only 20 pixels of the top edge on screen", {-1080, 100, 1100, 337}, both, {410, 351, 1100, 337}},
        {"no screens at all", {-5000, 0, 10, 10}, {}, {-5000, 0, 10, 10}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Place_On_Screens(c.place, c.screens), c.expected) << c.what;
}

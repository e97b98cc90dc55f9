// A point or extent in model space.
#pragma once

struct vectorC3d {
    double x = 0;
    double y = 0;
    double z = 0;
};

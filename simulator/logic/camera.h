#pragma once
// The camera of the 3-D path view: it looks at a target point from a distance,
// Z pointing up. Zoom changes the distance, pitch and turn orbit the target,
// panning moves the target (and the camera with it) in the XY plane. The window's
// OpenGL view and the command-line picture use the same camera and projection.
#include <array>

namespace velmora::sim {

struct Vec3 {
    double x = 0, y = 0, z = 0;
};

class Camera {
public:
    static constexpr double kDepthOfView = 50000;

    Camera() { reset(); }

    // Target at the origin, the camera at (1, 1, 1) scaled to a distance of 500, focal length 100.
    void reset();

    Vec3 target() const { return target_; }
    Vec3 position() const;
    double distance() const { return distance_; }
    double focalLength() const { return focal_; }
    // The vertical field of view in degrees that the focal length gives.
    double fieldOfView() const;

    void setDistance(double d);
    void zoom(double factor) { setDistance(distance_ * factor); }
    // Orbit about the target: pitch raises the camera, turn goes round the Z axis.
    void pitch(double degrees);
    void turn(double degrees);
    // Moves the target by a mouse movement of (dx, dy) pixels turned into the XY
    // plane, scaled by the distance * 0.12 / focal length.
    void pan(double dx, double dy);

    // The camera's frame: forward (from the camera to the target), right and up.
    Vec3 forward() const;
    Vec3 right() const;
    Vec3 up() const;

    // A point in view coordinates of a viewport of width x height pixels; false
    // when it lies behind the camera or beyond the depth of view.
    bool project(const Vec3 &p, int width, int height, double &sx, double &sy) const;

private:
    Vec3 target_;
    double distance_ = 500;
    double focal_ = 100;
    double azimuth_ = 45;   // degrees about Z, from +X
    double elevation_ = 0;  // degrees above the XY plane
};

} // namespace velmora::sim

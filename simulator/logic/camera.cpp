#include "simulator/logic/camera.h"

#include <algorithm>
#include <cmath>

namespace velmora::sim {

namespace {
constexpr double kPi = 3.14159265358979323846;
constexpr double kRad = kPi / 180;

Vec3 cross(Vec3 a, Vec3 b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
double dot(Vec3 a, Vec3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
Vec3 normalised(Vec3 a) {
    const double l = std::sqrt(dot(a, a));
    return l > 0 ? Vec3{a.x / l, a.y / l, a.z / l} : a;
}
} // namespace

void Camera::reset() {
    target_ = {};
    distance_ = 500;
    focal_ = 100;
    azimuth_ = 45;
    elevation_ = std::atan(1 / std::sqrt(2.0)) / kRad; // (1, 1, 1): 35.26 degrees up
}

Vec3 Camera::position() const {
    const double ce = std::cos(elevation_ * kRad), se = std::sin(elevation_ * kRad);
    return {target_.x + distance_ * ce * std::cos(azimuth_ * kRad), target_.y + distance_ * ce * std::sin(azimuth_ * kRad),
            target_.z + distance_ * se};
}

double Camera::fieldOfView() const { return 2 * std::atan(32.0 / focal_) / kRad; }

void Camera::setDistance(double d) {
    if (std::isfinite(d))
        distance_ = std::clamp(d, 1e-3, kDepthOfView);
}

void Camera::pitch(double degrees) { elevation_ = std::clamp(elevation_ + degrees, -89.9, 89.9); }

void Camera::turn(double degrees) {
    azimuth_ = std::fmod(azimuth_ + degrees, 360.0);
}

void Camera::pan(double dx, double dy) {
    const double scale = distance_ * 0.12 / focal_;
    // Screen right and screen up, laid into the XY plane.
    const Vec3 r = normalised({right().x, right().y, 0});
    const Vec3 f = normalised({forward().x, forward().y, 0});
    target_.x += (-dx * r.x + dy * f.x) * scale;
    target_.y += (-dx * r.y + dy * f.y) * scale;
}

Vec3 Camera::forward() const {
    const Vec3 p = position();
    return normalised({target_.x - p.x, target_.y - p.y, target_.z - p.z});
}

Vec3 Camera::right() const { return normalised(cross(forward(), {0, 0, 1})); }

Vec3 Camera::up() const { return cross(right(), forward()); }

bool Camera::project(const Vec3 &p, int width, int height, double &sx, double &sy) const {
    const Vec3 c = position();
    const Vec3 d{p.x - c.x, p.y - c.y, p.z - c.z};
    const double depth = dot(d, forward());
    if (depth <= 1e-6 || depth > kDepthOfView)
        return false;
    const double f = (height / 2.0) / std::tan(fieldOfView() * kRad / 2);
    sx = width / 2.0 + f * dot(d, right()) / depth;
    sy = height / 2.0 - f * dot(d, up()) / depth;
    return true;
}

} // namespace velmora::sim

#pragma once
// The path view drawn without OpenGL: the same scene and camera as the
// simulator window's 3-D view (background, axis arrows, the target cube, the
// workpiece box and every visible segment), into an image. velmora-cli
// simulate --picture uses it, and the window where no OpenGL context exists.
#include "common/colour.h"
#include "simulator/logic/camera.h"
#include "simulator/logic/interpreter.h"

#include <QImage>
#include <QSize>

namespace velmora::sim {

// A point of a segment as the view shows it: rotated by the segment's angle about Z.
Vec3 viewPoint(const Point3f &p, float rotationDegrees);

QImage drawScene(const Simulation &sim, const Camera &camera, QSize size, ColorValue background);

} // namespace velmora::sim

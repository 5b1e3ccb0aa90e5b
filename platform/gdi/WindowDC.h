#pragma once

#include "DeviceContext.h"

#include <QImage>
#include <functional>
#include <optional>

// A device context onto a window's backing surface (a 32-bit image in device pixels). Drawing
// lands in the surface at once and reports each changed area, so the window can show it.
class WindowDC : public DeviceContext {
public:
    using Changed = std::function<void(const QRect &)>;

    // `clip` limits drawing, as the area being painted does for a paint context.
    WindowDC(QImage *surface, Changed changed, std::optional<QRect> clip = std::nullopt)
        : DeviceContext(Kind::Window), m_surface(surface), m_changed(std::move(changed))
    {
        setClip(clip);
    }

protected:
    QImage *raster() override { return m_surface; }
    void rasterChanged(const QRect &area) override
    {
        if (m_changed && !area.isEmpty())
            m_changed(area);
    }

private:
    QImage *m_surface;
    Changed m_changed;
};

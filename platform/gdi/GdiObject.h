#pragma once

// A pen, brush or bitmap behind a handle. Objects selected into a device context must not be
// deleted; stock objects live for the whole run and ignore deletion.
class GdiObject {
public:
    enum class Type { Bitmap, Pen, Brush };
    enum class Lifetime { Owned, Stock };

    GdiObject(const GdiObject &) = delete;
    GdiObject &operator=(const GdiObject &) = delete;
    virtual ~GdiObject();

    Type type() const { return m_type; }
    bool isStock() const { return m_lifetime == Lifetime::Stock; }

    // How many device contexts hold this object selected.
    int selections() const { return m_selections; }
    void addSelection() { ++m_selections; }
    void removeSelection() { --m_selections; }

protected:
    GdiObject(Type type, Lifetime lifetime) : m_type(type), m_lifetime(lifetime) {}

private:
    Type m_type;
    Lifetime m_lifetime;
    int m_selections = 0;
};

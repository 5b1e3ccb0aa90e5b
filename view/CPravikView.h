#pragma once

#include <QAbstractScrollArea>

// The view of the picture in the main frame.
class CPravikView : public QAbstractScrollArea {
    Q_OBJECT

public:
    CPravikView();

protected:
    void paintEvent(QPaintEvent *event) override;
};

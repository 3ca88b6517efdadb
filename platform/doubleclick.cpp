#include "platform/doubleclick.h"

#include <QEvent>
#include <QMouseEvent>
#include <QObject>
#include <QWidget>

namespace platform {

namespace {

class DoubleClickFilter : public QObject {
 public:
  DoubleClickFilter(QWidget* widget, std::function<void()> handler)
      : QObject(widget), handler_(std::move(handler)) {}

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::MouseButtonDblClick &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton && handler_)
      handler_();
    return QObject::eventFilter(watched, event);
  }

 private:
  std::function<void()> handler_;
};

}  // namespace

void OnDoubleClick(QWidget* widget, std::function<void()> handler) {
  widget->installEventFilter(new DoubleClickFilter(widget, std::move(handler)));
}

}  // namespace platform

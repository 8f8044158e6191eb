// The signals that end a session without a session manager (SIGTERM, SIGHUP, SIGINT),
// delivered through the event loop: the handler only writes the signal's number to a
// pipe, and a socket notifier on the pipe's other end turns it into a Qt signal.
#pragma once

#include <QObject>

class QSocketNotifier;

namespace radixpad {

class CTerminationSignals : public QObject {
  Q_OBJECT

 public:
  /// Catches the three signals from now on. Only one object may exist at a time; a
  /// second one catches nothing (Catching() is false).
  explicit CTerminationSignals(QObject* parent = nullptr);
  /// Gives the signals their earlier handling back.
  ~CTerminationSignals() override;

  bool Catching() const { return notifier_ != nullptr; }

 signals:
  /// One of the signals came; `signalNumber` says which.
  void received(int signalNumber);

 private:
  void Drain();

  QSocketNotifier* notifier_ = nullptr;
};

}  // namespace radixpad

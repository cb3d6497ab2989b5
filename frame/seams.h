// The seams: the few places where the portable core reaches beyond standard C++ (the host's
// automation object, the Multiplier window, the dialogs). Stats.dll fills them with Win32
// implementations; the scorer and the native tests with portable ones. A test swaps in a fake
// with ScopedSeam.
//
// Seams are used from the thread named in each contract; none of them takes the module lock.
#pragma once

#include <optional>
#include <string>

struct CabrilloDialogValues;

// The link to the host's automation object "Tulm2.Application". The connection it makes is
// the module's g_hostDispatch: one reference, kept until it is replaced or the module unloads.
class HostLink {
 public:
  virtual ~HostLink() = default;
  // Initialises COM on the calling thread and looks for the running host object; when it
  // offers IDispatch, that interface replaces the one held. True when one was obtained now.
  virtual bool Connect() = 0;
  // Balances Connect's COM initialisation on the calling thread.
  virtual void Disconnect() = 0;
  // Member 16: hands the host a command text. Does nothing without an interface or when the
  // host answers with an error.
  virtual void SendCommand(const std::string& command) = 0;
  // Member 2: the host's frequency in Hz; nothing without an interface or on an error.
  virtual std::optional<double> GetFrequency() = 0;
  // Member 8 with argument 5: the call being entered; nothing without an interface or on an
  // error.
  virtual std::optional<std::string> GetEnteredCall() = 0;
};

// The Multiplier window as the host's thread sees it.
class MultiplierWindowControl {
 public:
  virtual ~MultiplierWindowControl() = default;
  virtual bool IsOpen() = 0;
  // Starts the window on a thread of its own; returns without waiting for it.
  virtual void Start() = 0;
  // Sets the window's 300 ms refresh timer again (restarting its interval) when it is open.
  virtual void RearmTimer() = 0;
  // Kills the timer and closes the window synchronously when it is open; waits 20 ms.
  virtual void Stop() = 0;
};

// The module's modal user interface, run on the host's thread and never under the module lock.
// Stats.dll shows real dialogs; the portable build shows none, so nothing there ends with OK.
class ModuleUi {
 public:
  virtual ~ModuleUi() = default;
  // Runs the setup dialog `Master` modally with the two values in its controls. True when it
  // ended with OK: the values then hold what the controls held; otherwise they are unchanged.
  virtual bool RunSetupDialog(int& useMultiplier, std::string& name) = 0;
  // Runs the Cabrillo header dialog `Cabrillo` modally with the values in its controls
  // (cabrillo/cabrillo_dialog.h). True when it ended with OK: the values then hold what the
  // controls held; otherwise they are unchanged.
  virtual bool RunCabrilloDialog(CabrilloDialogValues& values) = 0;
};

struct Seams {
  HostLink* hostLink;
  MultiplierWindowControl* multiplierWindow;
  ModuleUi* ui;
};

// The seams in force; the defaults are the build's own implementations.
Seams& GetSeams();

// The build's own implementations (Win32 in Stats.dll, portable elsewhere).
HostLink& DefaultHostLink();
MultiplierWindowControl& DefaultMultiplierWindow();
ModuleUi& DefaultModuleUi();

// Replaces one seam for the lifetime of the object (tests).
template <typename T>
class ScopedSeam {
 public:
  ScopedSeam(T* Seams::*member, T& replacement)
      : m_member(member), m_previous(GetSeams().*member) {
    GetSeams().*m_member = &replacement;
  }
  ~ScopedSeam() { GetSeams().*m_member = m_previous; }
  ScopedSeam(const ScopedSeam&) = delete;
  ScopedSeam& operator=(const ScopedSeam&) = delete;

 private:
  T* Seams::*m_member;
  T* m_previous;
};

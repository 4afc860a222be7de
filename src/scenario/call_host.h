#pragma once
// What the call manager and the commands need from the title around them: page files, the
// availability rule, the event queue, the clock, save and load requests. The project provides
// it; tests provide a small one of their own.

#include <cstdint>
#include <string>

#include "core/frame_timing.h"

namespace orva {

class TTimerList;

class CallManagerHost {
 public:
  virtual ~CallManagerHost() = default;
  // The bytes of a page file; raises EOrvaError when it cannot be read.
  virtual std::string ReadPageFile(const std::string& name) = 0;
  // Whether a file can be read, possibly after the user inserted a disc.
  virtual bool EnsureAvailable(const std::string& name) = 0;
  // A page below the oldest version read: tell the user, stop the run.
  virtual void RefuseOldPage(const std::string& name) = 0;
  virtual TTimerList& Events() = 0;
  virtual const FrameTiming& Timing() const = 0;
  virtual void RequestSave(int32_t slot, const std::string& page, const std::string& caption, int32_t value) = 0;
  virtual void RequestLoad(int32_t slot) = 0;
  // Ask the main window to close (Terminate, a page too old).
  virtual void RequestClose() = 0;
  // The scene's, history's and tables' part of a Reset command; nothing while they do not exist.
  virtual void ResetTitleState() {}
};

}  // namespace orva

// Base of processors that follow the host's sample rate and block size.
// A process-wide registry holds every live instance; the last rate and
// block size are process-wide too. Hosts create and destroy instances on
// several threads at once, so the registry is guarded by a mutex. It is
// never touched on the audio path.
#pragma once

class RateAwareProcessor {
 public:
  RateAwareProcessor() = default;
  virtual ~RateAwareProcessor() = default;
  RateAwareProcessor(const RateAwareProcessor&) = delete;
  RateAwareProcessor& operator=(const RateAwareProcessor&) = delete;

  // Hooks in slot order; the registry calls the first two.
  virtual void sampleRateChanged() { recalculate(); }
  virtual void blockSizeChanged() {}
  virtual void reservedHook() {}
  virtual void recalculate() {}

  // Store the value and notify every instance in ascending address order
  // when it differs from the stored one (a NaN rate always differs).
  static void setGlobalSampleRate(float rate);
  static void setGlobalBlockSize(int size);
  static float globalSampleRate();
  static int globalBlockSize();
  static int registeredCount();

 protected:
  // Called by the most-derived class at the end of its constructor and at
  // the start of its destructor, so that the registry never reaches an
  // object while its dynamic type is changing.
  void registerInstance();
  void unregisterInstance();
};

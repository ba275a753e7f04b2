#pragma once
// A flag raised for as long as a scope lasts, and lowered however the scope is left.

namespace dorvane::core {

class RaisedFlag {
  public:
    explicit RaisedFlag(bool& flag) : flag_(flag) { flag_ = true; }
    ~RaisedFlag() { flag_ = false; }
    RaisedFlag(const RaisedFlag&) = delete;
    RaisedFlag& operator=(const RaisedFlag&) = delete;

  private:
    bool& flag_;
};

}  // namespace dorvane::core

#ifndef SWARM_ERRORS_H
#define SWARM_ERRORS_H

#include <string>

// A failure that a caller may know how to handle; thrown by value.
class Exception {
public:
    explicit Exception(std::string msg);
    std::string getMsg() const;

private:
    std::string msg;
};

// The display could not be set up as asked.
class ResError : public Exception {
public:
    using Exception::Exception;
};

// Neither graphics-mode request succeeded.
class BadRes : public ResError {
public:
    using ResError::ResError;
};

// No frame buffer could be created for the mode that was set.
class BuffError : public ResError {
public:
    using ResError::ResError;
};

// The display switch mode was refused.
class BadSwitchMode : public ResError {
public:
    using ResError::ResError;
};

// Leaves graphics mode, shows "Fatal Error:" and the text, ends with status 1.
[[noreturn]] void fatalError(std::string text);

#endif

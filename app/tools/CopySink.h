// Where a file operation run shows what it does. The progress dialog implements it over its controls; every call
// comes from the worker thread, except the status text that Cancel sets from the interface thread.
#pragma once

#include <string>

class CopySink {
public:
    virtual void SetStatus(const std::wstring& text) = 0;
    // one row of the error log, scrolled into view
    virtual void AddLog(const std::wstring& line) = 0;
    // 0 to CopyThread::ProgressMax
    virtual void SetProgress(int position) = 0;
    // the bar shows the paused state (the run was cancelled)
    virtual void SetPaused() = 0;
    // the run is over: the cancel button reads closeText and the log column fits its lines
    virtual void Finished(const std::wstring& closeText) = 0;
    // a verified copy is written and flushed to temporary and is about to be read back (tests change it here);
    // called on one of the read-back threads, two of which may call at once
    virtual void CopyWritten(const std::wstring& temporary) { (void)temporary; }

protected:
    ~CopySink() = default;
};

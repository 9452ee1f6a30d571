#pragma once

class QObject;

/// The window that shows the progress of a document operation. The document shows it modally when
/// an operation starts and closes it when the operation ends; workers post `TProgressEvent`s to its
/// receiver. The application implements it with its progress window; tests use a fake. Every
/// member is called on the main thread.
class IProgressHost {
public:
    virtual ~IProgressHost() = default;

    /// The object that receives the posted `TProgressEvent`s; lives on the main thread for as long
    /// as the host is installed.
    virtual QObject* ProgressReceiver() = 0;

    /// Shows the window modally and returns only when `CloseModal` has closed it. Events, including
    /// calls handed to the main thread, are served meanwhile. Calls may nest.
    virtual void ShowModal() = 0;

    /// Ends the innermost running `ShowModal`.
    virtual void CloseModal() = 0;
};

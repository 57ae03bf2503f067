// The entry points of the mail extension library (RfcOrbs.so, HttpOrbs.so,
// AuxOrbs.so). An orb loads its mode's library from its working directory
// and calls these by name; every text in and out is zero-terminated, and a
// null result means the call failed. The returned text stays valid until
// the next call on the same thread.
#ifndef VIGIL_EXTENSION_VIGIL_EXTENSION_H_
#define VIGIL_EXTENSION_VIGIL_EXTENSION_H_

#if defined(VIGIL_EXTENSION_BUILD)
#define VIGIL_EXTENSION_EXPORT __attribute__((visibility("default")))
#else
#define VIGIL_EXTENSION_EXPORT
#endif

#ifdef __cplusplus
extern "C" {
#endif

// Called once after loading. `text` is "Loading", `library_name` the file
// name of the library. Returns e.g. "Loaded AuxOrbs.so"; null when this
// build of the library cannot send mail at all.
VIGIL_EXTENSION_EXPORT const char* Dopen(const char* text,
                                         const char* library_name);

// Called before unloading. `text` is "Unloading", `library_name` as above.
// Returns e.g. "Unloaded AuxOrbs.so".
VIGIL_EXTENSION_EXPORT const char* Dclos(const char* text,
                                         const char* library_name);

// Sends one mail over SMTP and returns only after the server accepted or
// refused it.
//   server:    "port host"; a host written as host:port overrides the port,
//              a blank port means 25.
//   addresses: the sender, then one or more recipients, separated by blanks
//              or commas.
//   account:   the login name; empty means no login.
//   password:  the login password, used only with an account.
//   body_file: a file whose first line is the subject and whose remaining
//              lines (LF or CR LF) are the body.
// Returns a short success text, or null on any failure: bad arguments, an
// unreadable body file, no connection, a refused login, sender or
// recipient.
VIGIL_EXTENSION_EXPORT const char* Smtp(const char* server,
                                        const char* addresses,
                                        const char* account,
                                        const char* password,
                                        const char* body_file);

#ifdef __cplusplus
}
#endif

#endif  // VIGIL_EXTENSION_VIGIL_EXTENSION_H_

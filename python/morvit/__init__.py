"""morvit: domain files of a process controller, from Python.

A data set is a directory of domain files (the controller's big-endian load files). This
package reads, generates, lists and back-translates them with the Morvit32 library:

    import morvit

    data_set = morvit.DataSet("demo/data")          # the library's inventory and verdicts
    for domain in data_set:
        print(domain.file, domain.type.name, domain.verdict)
    reba = data_set["RB000001.C01"]
    for event in reba.events(values_only=True):      # decoded values, streamed lazily
        print(event.label, event.value)

    written = morvit.generate(job_dict, "out/data")  # a job as `morvit generate` takes it
    result = morvit.backtranslate("db", "out/data", my_database)
    packed = morvit.implode(b"...")

Every failure raises MorvitError (or one of its kinds: FileError, JobError, RunStopped), which
carries the status where the library gave one, the cause in words and the file. The data
directory is given per call or per data set; nothing is read from the environment once for
the whole process.
"""

from ._morvit import (
    __version__,
    DataSet,
    DataSetFile,
    DataSetName,
    Domain,
    DomainType,
    Element,
    Event,
    Parcel,
    WrittenFile,
    backtranslate,
    domain_type,
    domain_types,
    explode,
    generate,
    implode,
    listing,
    parse_name,
)

__all__ = [
    "DataSet", "DataSetFile", "DataSetName", "Domain", "DomainType", "Element", "Event",
    "FileError", "JobError", "JobFault", "MorvitError", "MorvitWarning",
    "Parcel", "RunStopped", "WrittenFile", "backtranslate", "domain_type", "domain_types",
    "explode", "generate", "implode", "listing", "parse_name",
]

# The core's classes and functions are the package's: help() and tracebacks name them so.
for _name in ("DataSet", "DataSetFile", "DataSetName", "Domain", "DomainType", "Element", "Event",
              "Parcel", "WrittenFile"):
    globals()[_name].__module__ = __name__
del _name


class MorvitError(Exception):
    """A failure of the library: `status` (the library's status code where it gave one, else
    None), `cause` (in words), `file` (the file it concerns, or None)."""

    def __init__(self, message, *, status=None, cause=None, file=None):
        super().__init__(message)
        self.status = status
        self.cause = cause if cause is not None else message
        self.file = file


class FileError(MorvitError):
    """A file could not be read or written: `cause_code` is the file exception's cause number,
    `os_error` the system's error number (or None)."""

    def __init__(self, message, *, cause_code=0, os_error=None, **members):
        super().__init__(message, **members)
        self.cause_code = cause_code
        self.os_error = os_error


class JobFault:
    """One fault of a job: the JSON path of the value ("domains[1].records[3].key"), what is
    wrong, and where it stands in the job's text (line and column)."""

    __slots__ = ("path", "message", "line", "column")

    def __init__(self, path, message, line=0, column=0):
        self.path = path
        self.message = message
        self.line = line
        self.column = column

    def __repr__(self):
        return f"JobFault({self.path!r}, {self.message!r})"


class JobError(MorvitError):
    """A job with faults; nothing was written. `faults` lists every one (JobFault)."""

    def __init__(self, message, *, faults=(), **members):
        super().__init__(message, **members)
        self.faults = list(faults)


class RunStopped(MorvitError):
    """A back-translation run that stopped: `result` is the dict the run would have returned
    (with `stop`, the reason)."""

    def __init__(self, message, *, result=None, **members):
        super().__init__(message, **members)
        self.result = result


class MorvitWarning(UserWarning):
    """Something the library went past: a domain a run skipped, a node file pattern that
    matched no file."""

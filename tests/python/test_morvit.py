"""The Python module through its public surface: data sets and verdicts, listing events (the
same as `morvit dump --format json`), generation, back-translation and compression."""
import copy
import json
import os
import pathlib
import subprocess
import sys
import warnings

import pytest

import morvit

pytestmark = pytest.mark.filterwarnings("ignore::morvit.MorvitWarning")

SOURCE = pathlib.Path(__file__).resolve().parents[2]
TOOL = os.environ.get("MORVIT_TOOL", "morvit")


@pytest.fixture(scope="module")
def job():
    return json.loads((SOURCE / "examples" / "job.json").read_text())


@pytest.fixture(scope="module")
def demo(tmp_path_factory, job):
    data = tmp_path_factory.mktemp("demo") / "data"
    written = morvit.generate(job, str(data))
    return data, written


def test_generate_reports_every_file_with_its_parcel(demo):
    data, written = demo
    assert sorted(w.file for w in written) == sorted(os.listdir(data))
    reba = next(w for w in written if w.type_name == "REBA")
    assert (reba.file, reba.parcel.domain_type, reba.parcel.version) == ("RB000001.C01", 46, 1)
    size = os.path.getsize(reba.path)
    assert size % 1024 == 0 and 0 < reba.parcel.length <= size


def test_data_set_verdicts_are_the_checks(demo, tmp_path):
    data, _ = demo
    data_set = morvit.DataSet(str(data))
    assert len(data_set) == 29 and all(d.sound for d in data_set)
    assert data_set["rb000001.c01"].type.name == "REBA"  # the library's case rule
    # Damages the verdicts must see, with the file and offset of the cause.
    damages = {
        "PB010001.C01": (lambda b: b"\x40" + b[1:], None),
        "CA000001.C01": (lambda b: b[:2] + b"\xee" + b[3:], 2),
        "RB000001.C01": (lambda b: b[:100], 0),
    }
    for file in os.listdir(data):
        content = (data / file).read_bytes()
        (tmp_path / file).write_bytes(damages[file][0](content) if file in damages else content)
    before = sorted(os.listdir(tmp_path))
    damaged = {d.file: d for d in morvit.DataSet(str(tmp_path)) if not d.sound}
    assert sorted(damaged) == sorted(damages)
    for name, (_, offset) in damages.items():
        assert damaged[name].cause_file == name, damaged[name].describe()
        if offset is not None:
            assert damaged[name].cause_offset == offset, damaged[name].describe()
    assert sorted(os.listdir(tmp_path)) == before, "reading a data set writes nothing into it"
    # The same words as `morvit check`.
    report = json.loads(subprocess.run([TOOL, "check", str(tmp_path), "--json", "-"],
                                       capture_output=True, text=True).stdout)
    assert {f["file"]: f["message"] for f in report["findings"]} == {
        name: domain.describe() for name, domain in damaged.items()}


def test_events_are_the_dump_json_lines(demo):
    data, _ = demo
    for domain in morvit.DataSet(str(data)):
        # A node's file list has no listing: both end in the same stop event.
        lines = subprocess.run([TOOL, "dump", "--format", "json", str(data / domain.file)],
                               capture_output=True, text=True).stdout.splitlines()
        events = [e.as_dict() for e in domain.events(text=True, strict=False)]
        assert events == [json.loads(l) for l in lines], domain.file


def test_event_members_are_the_json_members(demo):
    data, _ = demo
    names = {"codeName": "code_name"}
    members = ["name", "part", "size", "kind", "code", "code_name", "index", "offset", "width",
               "hex", "value", "label", "time", "text", "length", "reason"]
    for file in ("RB000001.C01", "PD010001.C01", "XC000001.C01"):
        for event in morvit.listing(str(data / file), text=True, strict=False):
            expected = {names.get(k, k): v for k, v in event.as_dict().items() if k != "event"}
            if event.event in ("field", "value"):
                expected.setdefault("time", False)  # a bool where the JSON leaves false out
            actual = {m: getattr(event, m) for m in members if getattr(event, m) is not None}
            assert expected == actual, event
            assert event.data is None or event.data.hex() == event.hex


def test_values_are_decoded(demo):
    data, _ = demo
    values = [(e.kind, e.label, e.value)
              for e in morvit.listing(str(data / "RB000001.C01"), values_only=True)]
    assert ("key", "key", 1) in values and ("name", "name", "MOTOR_1") in values
    assert ("real", "terminal value", 2.5) in values
    assert ("dateTime", "Date", "2026-12-07 08:30:00.000") in values


def test_a_listing_that_stops_raises_after_its_stop_event(tmp_path, demo):
    data, _ = demo
    (tmp_path / "RB000001.C01").write_bytes((data / "RB000001.C01").read_bytes()[:100])
    events = []
    with pytest.raises(morvit.MorvitError) as raised:
        for event in morvit.listing(str(tmp_path / "RB000001.C01")):
            events.append(event)
    assert events[-1].event == "stop" and raised.value.cause == events[-1].reason
    assert list(morvit.listing(str(tmp_path / "RB000001.C01"), strict=False))[-1].event == "stop"
    with pytest.raises(morvit.FileError) as missing:
        morvit.listing(str(tmp_path / "RB000009.C01"))
    assert missing.value.file.endswith("RB000009.C01")
    for not_a_data_set in (tmp_path / "none", tmp_path / "RB000001.C01"):
        with pytest.raises(morvit.FileError):
            morvit.DataSet(str(not_a_data_set))


def test_job_faults_raise_one_error_with_every_path(tmp_path, job):
    bad = copy.deepcopy(job)
    reba = next(d for d in bad["domains"] if d["type"] == "REBA")
    reba["records"][0]["entry"]["key"] = "one"
    del reba["object"]
    with pytest.raises(morvit.JobError) as raised:
        morvit.generate(bad, str(tmp_path / "out"))
    paths = [f.path for f in raised.value.faults]
    index = bad["domains"].index(reba)
    # The domain without its object; the entry's key; the additions that name the key 1 no
    # entry has now.
    assert paths == [f"domains[{index}]", f"domains[{index}].records[0].entry.key",
                     f"domains[{index}].records[2].addition.key",
                     f"domains[{index}].records[3].addition.key"]
    assert all(f"{p}: " in str(raised.value) for p in paths)
    assert not (tmp_path / "out").exists()


class Recorder:
    """A database that keeps the elements handed over and answers GetMaxTask itself."""

    def __init__(self):
        self.elements = []

    def Insert(self, code, element):
        self.elements.append((code, element.name, element.data))

    def GetMaxTask(self):
        return 8


def test_backtranslate_calls_the_methods_it_finds(demo):
    data, _ = demo
    recorder = Recorder()
    result = morvit.backtranslate("db", str(data), recorder)
    assert result["result"] == 1 and "CA000001.C01" in result["domains"]
    assert recorder.elements and all(isinstance(d, bytes) for _, _, d in recorder.elements)
    # pc needs a program number: without one the run stops, and says how to give it.
    with pytest.raises(morvit.RunStopped) as stopped:
        morvit.backtranslate("pc", str(data), recorder)
    assert "GetPCProgNo" in stopped.value.cause and stopped.value.result["result"] == 0
    assert morvit.backtranslate("pc", str(data), None, answers={"GetPCProgNo": 1, "GetMaxTask": 3})["result"] == 1
    with pytest.raises(ValueError):
        morvit.backtranslate("db", str(data), None, answers={"NoSuchCall": 1})


def test_the_callbacks_are_the_recorded_runs_calls(demo, tmp_path):
    class Everything:
        """Has every method: each call is kept, and answers None (the default)."""

        def __init__(self):
            self.calls = []

        def __getattr__(self, name):
            return lambda *arguments: self.calls.append((name, arguments))

    data, _ = demo
    database = Everything()
    morvit.backtranslate("db", str(data), database)
    subprocess.run([TOOL, "backtranslate", "db", "--data", str(data), "--json-lines",
                    str(tmp_path / "db.jsonl"), "-q"], check=True)
    rows = [json.loads(line) for line in (tmp_path / "db.jsonl").read_text().splitlines()]
    assert [name for name, _ in database.calls] == [
        r["operation"] for r in rows if r["table"] == "calls"]
    inserted = [(a[0], a[1].code, a[1].name, a[1].data.hex()) for n, a in database.calls
                if n in ("Insert", "InsertBasicObject")]
    assert inserted == [(r["code"], r["element_code"], r["code_name"] or "", r["bytes"])
                        for r in rows if r["table"] == "elements"]


def test_an_exception_in_a_method_stops_the_run_and_is_raised(demo):
    class Failing:
        def Insert(self, code, element):
            raise KeyError("the plant has no such element")

    data, _ = demo
    with pytest.raises(KeyError, match="no such element"):
        morvit.backtranslate("db", str(data), Failing())
    assert sorted(os.listdir(data)) == sorted(os.listdir(data))


def test_each_call_uses_its_own_data_directory_and_leaves_nothing(tmp_path, job, monkeypatch):
    scratch = tmp_path / "scratch"
    scratch.mkdir()
    monkeypatch.setenv("TMPDIR", str(scratch))
    before = os.getcwd()
    first = morvit.generate({"domains": [job["domains"][-1]]}, str(tmp_path / "a"))
    second = morvit.generate(job, str(tmp_path / "b"))
    assert {pathlib.Path(w.path).parent for w in first} == {tmp_path / "a"}
    assert {pathlib.Path(w.path).parent for w in second} == {tmp_path / "b"}
    data_set = morvit.DataSet(str(tmp_path / "a"))
    assert len(data_set) == 1 and list(data_set[0].events())
    morvit.backtranslate("db", str(tmp_path / "b"))
    assert os.getcwd() == before, "a call leaves the script's current directory as it was"
    assert os.listdir(scratch) == [], "no call leaves a scratch directory behind"


def test_implode_and_explode():
    data = bytes(range(256)) * 64
    for ascii, dictionary in [(False, 1024), (False, 4096), (True, 2048)]:
        packed = morvit.implode(data, ascii=ascii, dictionary=dictionary)
        assert len(packed) < len(data) and morvit.explode(packed) == data
    with pytest.raises(morvit.MorvitError) as raised:
        morvit.explode(morvit.implode(data)[:20])
    assert raised.value.status is not None
    with pytest.raises(morvit.MorvitError):
        morvit.implode(data, dictionary=1000)


def test_the_example_prints_the_changed_entries(tmp_path, job):
    reba = next(d for d in job["domains"] if d["type"] == "REBA")
    newer = copy.deepcopy(reba)
    newer["version"] = 2
    newer["records"][0]["entry"]["values"][0] = 99
    morvit.generate({"domains": [reba, newer]}, str(tmp_path))
    out = subprocess.run([sys.executable, str(SOURCE / "examples" / "changed_entries.py"),
                          str(tmp_path)], capture_output=True, text=True)
    assert out.returncode == 0, out.stderr
    out = out.stdout
    assert out.splitlines()[-2:] == ["entries changed from version 1 to 2:",
                                     "  entry 1 'MOTOR_1': value A: 10 -> 99"]
    # With one version, its entries with their values.
    (tmp_path / "RB000002.C01").unlink()
    out = subprocess.run([sys.executable, str(SOURCE / "examples" / "changed_entries.py"),
                          str(tmp_path)], capture_output=True, text=True).stdout
    assert "  entry 1: code 46, key 1, value E 14, value A 10," in out


def test_progress_and_interrupts_reach_the_script(demo):
    data, _ = demo
    seen = []
    morvit.backtranslate("db", str(data), None,
                         progress=lambda percent, file: seen.append((percent, file)))
    assert seen and all(0 <= percent <= 100 for percent, _ in seen)
    result = morvit.backtranslate("node", str(data))
    # The job's node files are not in the test's project: the node's file list names none.
    assert result["domains"] == ["CN000001.C01", "RN000001.C01"] and "node_file" in result

    def interrupt(percent, file):
        raise KeyboardInterrupt

    with pytest.raises(KeyboardInterrupt):
        morvit.backtranslate("db", str(data), Recorder(), progress=interrupt)


def test_two_listings_read_side_by_side(demo):
    data, _ = demo
    apart = [list(morvit.listing(str(data / name))) for name in ("PB010001.C01", "PB020001.C01")]
    together = list(zip(morvit.listing(str(data / "PB010001.C01")),
                        morvit.listing(str(data / "PB020001.C01"))))
    assert [(a.as_dict(), b.as_dict()) for a, b in together] == [
        (a.as_dict(), b.as_dict()) for a, b in zip(*apart)]


def test_the_stubs_name_everything_the_package_exports():
    stubs = (pathlib.Path(morvit.__file__).parent / "__init__.pyi").read_text()
    for name in morvit.__all__:
        assert f"class {name}" in stubs or f"def {name}(" in stubs, name


def test_failures_name_their_file_and_status(tmp_path, job, demo):
    data, _ = demo
    (tmp_path / "plain").write_text("not a directory")
    reba = next(d for d in job["domains"] if d["type"] == "REBA")
    failures = [
        (lambda: morvit.generate(str(tmp_path / "no-job.json"), str(tmp_path / "out")),
         morvit.FileError, "no-job.json"),
        (lambda: morvit.generate({"domains": [reba]}, str(tmp_path / "plain")),
         morvit.MorvitError, "plain"),
        (lambda: morvit.backtranslate("db", str(tmp_path / "plain")), morvit.FileError, "plain"),
        (lambda: morvit.backtranslate("db", str(tmp_path)), morvit.MorvitError, str(tmp_path)),
    ]
    for call, kind, named in failures:
        with pytest.raises(kind) as raised:
            call()
        assert named in str(raised.value) and raised.value.cause, raised.value
    with pytest.raises(ValueError):
        morvit.backtranslate("everything", str(data))

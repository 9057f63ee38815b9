# Calls from several Python threads at once, and controls that never wait
# for a dialog.
import os
import pty
import subprocess
import sys
import threading

import pytest

import orvane


# What thread i writes: its own value, and the value all threads share,
# each with its own type and data.
def written(index):
    forms = [(orvane.BinaryType, bytes([index, 255])), (orvane.MultiStringType, ["t", str(index)]),
             (orvane.DWordType, index)]
    return forms[index % 3]


def test_eight_threads_write_and_read_one_key():
    key = "HKEY_CURRENT_USER\\Software\\Threads"
    shared = [written(i) for i in range(8)]
    errors = []

    def writer(index):
        try:
            control = orvane.Quorvel(typed=True)
            control.GlobalKeyPath = key
            value_type, data = written(index)
            for n in range(400):
                for name in ("t%d_%d" % (index, n), "shared"):
                    control.ValueName = name
                    control.ValueType = value_type
                    control.Value = data
                    control.SetValue()
                    control.ValueType = orvane.StringType
                    control.GetValue()
                    read = (control.ValueType, control.Value)
                    assert read == (value_type, data) if name != "shared" else read in shared, (name, read)
        except Exception as error:  # reported below
            errors.append(error)

    threads = [threading.Thread(target=writer, args=(i,)) for i in range(8)]
    for thread in threads:
        thread.start()
    for thread in threads:
        thread.join()
    assert errors == []
    control = orvane.Quorvel(typed=True)
    control.GlobalKeyPath = key
    rows = {row[0]: (row[2], row[1]) for row in control.GetAllValues()}
    assert len(rows) == 8 * 400 + 1
    assert all(rows["t%d_%d" % (i, n)] == written(i) for i in range(8) for n in range(400))


def test_a_long_export_lets_other_threads_run(control, tmp_path, monkeypatch):
    """The editor of this Export waits for a line that only the test's own
    thread sends while the Export runs: the Export ends with that line in
    its file only when it let that thread run meanwhile."""
    if os.path.exists(os.path.join(os.path.dirname(os.path.realpath(sys.executable)), "orvane-regedit")):
        pytest.skip("an editor beside the interpreter comes before PATH")
    line = tmp_path / "line"
    os.mkfifo(line)
    editor = tmp_path / "bin" / "orvane-regedit"  # arguments: /S /E -- <file> <key>
    editor.parent.mkdir()
    editor.write_text('#!/bin/sh\nread -r sent < "%s"\nprintf "REGEDIT4\\r\\n\\r\\n[%%s]\\r\\n" "$sent" > "$4"\n' % line)
    editor.chmod(0o755)
    monkeypatch.setenv("PATH", "%s:%s" % (editor.parent, os.environ["PATH"]))
    control.GlobalKeyPath = "HKEY_CURRENT_USER\\Software\\Long"
    control.SetKey()
    outcome, readers = [], []

    def export():
        try:
            control.Export(str(tmp_path / "out.reg"))
            outcome.append("exported")
        except Exception as error:  # reported below
            outcome.append(error)
        finally:  # a reader, so that the write below never waits for an editor that is gone
            readers.append(os.open(line, os.O_RDONLY | os.O_NONBLOCK))

    thread = threading.Thread(target=export)
    thread.start()
    with open(line, "w") as pipe:  # opens once the editor reads
        pipe.write("HKEY_CURRENT_USER\\Software\\Sent\n")
    thread.join()
    os.close(readers[0])
    assert outcome == ["exported"]
    assert "[HKEY_CURRENT_USER\\Software\\Sent]" in (tmp_path / "out.reg").read_text()


def run_on_a_terminal(code, env_dialogs=None):
    """Runs `code` in a new interpreter whose standard input and error are a
    terminal, the case in which dialogs would wait for a key. Returns its
    exit status, standard output and what reached the terminal."""
    leader, follower = pty.openpty()
    env = dict(os.environ)
    env.pop("ORVANE_DIALOGS", None)
    if env_dialogs is not None:
        env["ORVANE_DIALOGS"] = env_dialogs
    child = subprocess.Popen([sys.executable, "-c", "import orvane\n" + code],
                             stdin=follower, stderr=follower, stdout=subprocess.PIPE, env=env)
    os.close(follower)
    terminal = b""
    try:
        output, _ = child.communicate(timeout=60)
    finally:
        child.kill()
        try:
            while True:
                chunk = os.read(leader, 4096)
                if not chunk:
                    break
                terminal += chunk
        except OSError:  # the terminal is gone once the child has ended
            pass
        os.close(leader)
    return child.returncode, output.strip(), terminal


def test_a_control_on_a_terminal_shows_no_interactive_dialog(store):
    status, output, terminal = run_on_a_terminal("q = orvane.Quorvel(); q.AboutBox(); print('done')")
    assert (status, output) == (0, b"done")
    assert b"[About Orvane]" in terminal


def test_the_container_style_comes_before_the_environment(store):
    # ORVANE_DIALOGS asks for terminal dialogs, which would wait for a key;
    # the module's batch default must still win.
    status, output, terminal = run_on_a_terminal("orvane.Quorvel().AboutBox(); print('done')",
                                                 env_dialogs="terminal")
    assert (status, output) == (0, b"done")
    assert b"[About Orvane]" in terminal


def test_a_silent_control_shows_nothing(store):
    status, output, terminal = run_on_a_terminal(
        "q = orvane.Quorvel(dialogs=orvane.DialogStyle.Silent); q.AboutBox(); print('done')")
    assert (status, output) == (0, b"done")
    assert b"About" not in terminal


@pytest.mark.parametrize("made, shown", [
    ("orvane.Quorvel()", False),
    ("orvane.Quorvel(about=True)", True),
    ("orvane.Quorvel(about=True, dialogs=orvane.DialogStyle.Silent)", False),
])
def test_a_new_control_shows_its_about_box_only_when_asked(store, made, shown):
    status, output, terminal = run_on_a_terminal(made + "; print('done')")
    assert (status, output) == (0, b"done")
    assert (b"About" in terminal) == shown


def test_the_dialog_style_is_a_keyword_only_argument():
    with pytest.raises(TypeError):
        orvane.Quorvel(orvane.DialogStyle.Silent)
    assert orvane.DialogStyle.Batch != orvane.DialogStyle.Auto


def test_a_process_that_forks_after_writing_goes_on(control):
    """A fork (here for a child program with a preexec function, and a bare
    os.fork whose child writes) neither hangs nor leaves the child waiting
    for the parent's uncommitted changes."""
    control.GlobalKeyPath = "HKEY_CURRENT_USER\\Software\\Forks"
    for n in range(20):
        control.ValueName = "p%d" % n
        control.Value = n
        control.SetValue()
        done = subprocess.run(["echo", "x"], preexec_fn=lambda: None, capture_output=True, timeout=20)
        assert done.stdout == b"x\n"
        child = os.fork()
        if child == 0:
            status = 1
            try:
                forked = orvane.Quorvel()
                forked.GlobalKeyPath = "HKEY_CURRENT_USER\\Software\\Forks"
                forked.ValueName = "c%d" % n
                forked.Value = n
                forked.SetValue()
                forked.ForceWriting()  # os._exit skips the commit at exit
                del forked
                status = 0
            finally:
                os._exit(status)
        _, state = os.waitpid(child, 0)
        assert os.waitstatus_to_exitcode(state) == 0
    assert control.Count(orvane.CountValues, orvane.ExcludeSubKeys) == 40

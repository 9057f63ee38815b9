# Calls from several Python threads at once, and controls that never wait
# for a dialog.
import os
import pty
import subprocess
import sys
import threading

import orvane


def test_threads_may_call_at_once():
    errors = []

    def writer(index):
        try:
            control = orvane.Quorvel()
            control.GlobalKeyPath = "HKEY_CURRENT_USER\\Software\\Threads"
            for n in range(20):
                control.ValueName = "t%d_%d" % (index, n)
                control.Value = n
                control.SetValue()
        except Exception as error:  # reported below
            errors.append(error)

    threads = [threading.Thread(target=writer, args=(i,)) for i in range(4)]
    for thread in threads:
        thread.start()
    for thread in threads:
        thread.join()
    assert errors == []
    control = orvane.Quorvel()
    control.GlobalKeyPath = "HKEY_CURRENT_USER\\Software\\Threads"
    assert control.Count(orvane.CountValues, orvane.ExcludeSubKeys) == 80


def test_a_control_on_a_terminal_shows_no_interactive_dialog(store):
    # Standard input and error are a terminal, the case in which dialogs
    # would wait for a key; the control's About box must not.
    leader, follower = pty.openpty()
    env = dict(os.environ)
    env.pop("ORVANE_DIALOGS", None)
    child = subprocess.Popen(
        [sys.executable, "-c", "import orvane; q = orvane.Quorvel(); q.AboutBox(); print('done')"],
        stdin=follower, stderr=follower, stdout=subprocess.PIPE, env=env)
    os.close(follower)
    output, _ = child.communicate(timeout=120)
    os.close(leader)
    assert child.returncode == 0
    assert output.strip() == b"done"

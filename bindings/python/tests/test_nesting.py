# Arrays nest at most orvane's limit (256 levels) in both directions; a list
# that contains itself, or one nested deeper, raises ValueError and never
# takes the interpreter down. A list of one list is a table of one row, so
# two levels of such lists make one level of arrays. Each case runs in a
# child interpreter, so a crash shows as that child's death rather than the
# whole test run's.
import subprocess
import sys
import textwrap

import pytest


def run_child(body, store):
    """Runs `body` as the function attempt() in a new interpreter with a
    control `q`; prints the ValueError it raises."""
    script = "\n".join(
        [
            "import orvane",
            "orvane.select_store(%r)" % str(store),
            "q = orvane.Quorvel(dialogs=orvane.DialogStyle.Silent)",
            'q.GlobalKeyPath = "HKEY_CURRENT_USER\\\\Software\\\\Nesting"',
            "def attempt():",
            textwrap.indent(body, "    "),
            "try:",
            "    attempt()",
            "except ValueError as error:",
            '    print("ValueError:", error)',
        ]
    )
    return subprocess.run([sys.executable, "-c", script], capture_output=True, text=True, timeout=120)


def nested(depth):
    value = 1
    for _ in range(depth):
        value = [value]
    return value


SHAPES = {
    "self-referencing list as Value": "a = []; a.append(a); q.Value = a",
    "self-referencing list to SetAllValues": "a = []; a.append(a); q.SetAllValues(a)",
    "table holding itself": "t = [[\"name\", 2]]; t[0][1] = t; q.SetAllValues(t)",
    "list nested 50,000 deep as Value": "v = 1\nfor _ in range(50000): v = [v]\nq.Value = v",
    "list nested 50,000 deep to SetAllValues": "v = 1\nfor _ in range(50000): v = [v]\nq.SetAllValues(v)",
    "list nested 513 deep as Value": "v = 1\nfor _ in range(513): v = [v]\nq.Value = v",
    "tuple nested 257 deep as Value": "v = 1\nfor _ in range(257): v = (v,)\nq.Value = v",
}


@pytest.mark.parametrize("body", SHAPES.values(), ids=SHAPES.keys())
def test_a_value_nested_too_deep_raises_value_error(body, store):
    child = run_child(body, store)
    assert child.returncode == 0, child.stderr
    assert child.stdout.startswith("ValueError: arrays nested more than 256 levels deep"), child.stdout


def test_a_value_nested_to_the_limit_goes_and_comes_back(control):
    control.Value = nested(512)
    value = control.Value
    for _ in range(512):
        assert isinstance(value, list) and len(value) == 1
        value = value[0]
    assert value == 1

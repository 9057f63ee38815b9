# Every test runs on its own registry store in a temporary folder.
import pytest

import orvane


@pytest.fixture(autouse=True)
def store(tmp_path, monkeypatch):
    path = tmp_path / "registry.db"
    monkeypatch.setenv("ORVANE_REGISTRY", str(path))
    orvane.select_store(path)
    return path


@pytest.fixture
def control():
    return orvane.Quorvel()

"""Compose compute expressions over time series; render them with to_json()."""

from brastel.compute import _compute
from brastel.compute._compute import *  # noqa: F401,F403

__all__ = list(getattr(_compute, "__all__", []))

"""Checks of the project's own tooling (buildtools)."""

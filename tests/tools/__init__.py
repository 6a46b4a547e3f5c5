"""Checks of the preview tool run as a user runs it."""

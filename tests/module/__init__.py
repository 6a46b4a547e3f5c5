"""Checks of the module DLL as a whole: its file, registration, automation."""

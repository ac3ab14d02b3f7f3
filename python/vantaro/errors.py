"""The exception the package raises for everything the engine refuses."""


class VantaroError(Exception):
    """A call the engine refused or could not complete.

    Attributes:
        text: what went wrong, in the engine's terms.
        status: the status the export returned, or None when the package
            refused the call before it reached the engine (a closed
            workspace, a composition of the wrong length, an unknown name).
        export: the name of the export that failed, or None.
        result: what the engine wrote despite the failure, where that is
            useful (the state a flash ended at, the outputs of a choke search
            at its starting pressure), else None.
    """

    def __init__(self, text, status=None, export=None, result=None):
        super().__init__(text)
        self.text = text
        self.status = status
        self.export = export
        self.result = result

    def __str__(self):
        where = f"{self.export}: " if self.export else ""
        code = f" (status {self.status})" if self.status is not None else ""
        return f"{where}{self.text}{code}"

"""Writes a copy of a presentation with some slides hidden: hide_slides.py IN OUT N [N ...]
(slide numbers from 1). Runs a private headless office through the assets' helper."""
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "assets", "src"))
from office import Office, file_url, props  # noqa: E402


def main():
    source, target, hidden = sys.argv[1], sys.argv[2], [int(n) for n in sys.argv[3:]]
    with Office() as office:
        doc = office.load(os.path.abspath(source))
        try:
            for n in hidden:
                doc.DrawPages.getByIndex(n - 1).Visible = False
            doc.storeToURL(file_url(os.path.abspath(target)), props(FilterName="MS PowerPoint 97"))
        finally:
            doc.close(True)


if __name__ == "__main__":
    main()
